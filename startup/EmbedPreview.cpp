#include "startup/modMain.h"
#include "ui/Services.h"

namespace modMain {

// The preview window is not built yet: preview mode ends at once.
void EmbedPreview(std::int32_t /*paneHandle*/) {
    ui::EndProgram();
}

} // namespace modMain
