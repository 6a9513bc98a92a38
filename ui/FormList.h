#pragma once
// The program's forms, as the backends see them: what keeps the process alive and what ends it.

#include <vector>

namespace ui {

class Form;

namespace forms {

// Called by a backend's Form constructor and destructor.
void Add(Form& form);
void Remove(Form& form);
// Every form that exists, in the order they were made.
const std::vector<Form*>& All();

// Whether a form is loaded (its Load ran and it was not closed since); the event loop runs
// while one is, so a form hidden by a failure keeps the program going.
bool AnyLoaded();
bool AnyVisible();

// After a form closed or its native window was destroyed: with no form left on the screen
// nothing could bring one back, so the process ends.
void EndUnlessOneShows();

// The user's session ends (logging off, shutting down): every loaded form closes as its close
// box closes it, so each Unload stores what it must, while no form shows again; then the
// process ends.
void EndSession();
// Whether EndSession is closing the forms: a form asked to show then stays hidden.
bool SessionEnding();

} // namespace forms
} // namespace ui
