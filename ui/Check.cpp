#include "ui/Check.h"

#include <algorithm>
#include <utility>

namespace ui::check {

Finding Ok(std::string text) {
    return {Verdict::Ok, std::move(text), {}};
}

Finding Note(std::string text) {
    return {Verdict::Note, std::move(text), {}};
}

Finding Problem(std::string text, std::string fix) {
    return {Verdict::Problem, std::move(text), std::move(fix)};
}

std::string Report(const Findings& findings) {
    std::string report;
    for (const auto& finding : findings) {
        report += finding.verdict == Verdict::Ok     ? "ok       "
                  : finding.verdict == Verdict::Note ? "note     "
                                                     : "problem  ";
        report += finding.text;
        if (finding.verdict == Verdict::Problem && !finding.fix.empty())
            report += " -> " + finding.fix;
        report += '\n';
    }
    return report;
}

int ExitStatus(const Findings& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.verdict == Verdict::Problem; })
               ? 1
               : 0;
}

} // namespace ui::check
