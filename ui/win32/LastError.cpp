#include "ui/win32/LastError.h"

#include "ui/Error.h"
#include "ui/win32/Text.h"

#include <cstdint>
#include <windows.h>

namespace ui::win32 {

void FailLastError() {
    const DWORD code = GetLastError();
    throw Error(static_cast<std::int32_t>(code), SystemMessage(code));
}

} // namespace ui::win32
