#include "startup/ErrorReport.h"

#include "ui/Application.h"
#include "ui/Convert.h"
#include "ui/Services.h"

namespace modMain {

std::string ErrorReportText(std::string_view routine, const ui::Error& failure) {
    constexpr std::string_view crlf = "\r\n";
    std::string text;
    text.append("  Program Name : ").append(ui::app::FileDescription());
    text.append(crlf).append(crlf);
    text.append("   Routine Name : ").append(routine);
    text.append(crlf).append(crlf);
    text.append("     Error Number : ").append(ui::ToText(failure.Number)).append(crlf);
    text.append("      Error Source : ").append(failure.Source).append(crlf);
    text.append("Error Description : ").append(failure.Description);
    text.append(crlf).append(crlf);
    return text;
}

void ShowErrorReport(std::string_view routine, const ui::Error& failure) {
    ui::ShowMessage(ErrorReportText(routine, failure), ui::CriticalStyle, "CRITICAL ERROR");
}

} // namespace modMain
