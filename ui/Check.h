#pragma once
// "Why does my screen saver not start?": what the machine the program runs on tells of whether
// the saver will show after the user's time away, each finding one line the user can act on.
// The backend asks the session; the program adds what it knows of its own stored choice. It
// asks and never changes: no setting is written, nothing is started.

#include <functional>
#include <string>
#include <vector>

namespace ui::check {

enum class Verdict {
    Ok,
    Note,    // worth knowing; the saver still shows
    Problem, // the saver will not show, or not as chosen, until the user does something
};

struct Finding {
    Verdict verdict = Verdict::Ok;
    std::string text; // what was found
    std::string fix;  // for a problem: the one thing to do about it
};
using Findings = std::vector<Finding>;

Finding Ok(std::string text);
Finding Note(std::string text);
Finding Problem(std::string text, std::string fix);

// The report: one line a finding, marked "ok", "note" or "problem", a problem's fix after it.
std::string Report(const Findings& findings);

// 0 when the saver will show after the user's time away, 1 when something stops it.
int ExitStatus(const Findings& findings);

// Runs the check: the session's findings (no bus or daemon waited on for more than a second),
// then the program's own (`own`, asked once the backend can decode pictures), said where the
// user sees them: the standard output, or a message box for a Windows program without one.
// Returns ExitStatus of them all.
int Run(int argc, char** argv, const std::function<Findings()>& own);

} // namespace ui::check
