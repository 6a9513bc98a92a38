#include "ui/Application.h"
#include "ui/Convert.h"
#include "ui/Error.h"
#include "ui/Services.h"

namespace ui::app {

void ReportUntrapped() {
    const Error failure = CurrentError();
    ShowMessage("Run-time error '" + ToText(failure.Number) + "':\r\n\r\n" + failure.Description,
                CriticalStyle, "Moondial");
    EndProgram();
}

} // namespace ui::app
