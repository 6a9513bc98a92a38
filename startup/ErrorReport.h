#pragma once
// The "CRITICAL ERROR" report that nearly every routine shows for an unforeseen failure.

#include "ui/Error.h"
#include "ui/Outside.h"

#include <string>
#include <string_view>
#include <utility>

namespace modMain {

// The report's text for a failure in the routine, e.g. "Public Sub GetRegKey".
std::string ErrorReportText(std::string_view routine, const ui::Error& failure);

// Shows the report and returns when the user has closed it.
void ShowErrorReport(std::string_view routine, const ui::Error& failure);

// Runs body under the routine's failure trap: a failure abandons the rest of body, runs
// prepare, shows the report and returns false. The end of the process passes through.
template <typename Body, typename Prepare>
bool Trapped(std::string_view routine, Body&& body, Prepare&& prepare) {
    try {
        std::forward<Body>(body)();
        return true;
    } catch (const ui::ProcessEnded&) {
        throw;
    } catch (...) {
        const ui::Error failure = ui::CurrentError();
        std::forward<Prepare>(prepare)();
        ShowErrorReport(routine, failure);
        return false;
    }
}

template <typename Body> bool Trapped(std::string_view routine, Body&& body) {
    return Trapped(routine, std::forward<Body>(body), [] {});
}

} // namespace modMain
