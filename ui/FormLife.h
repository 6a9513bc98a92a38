#pragma once
// A form's life, the same on every backend: loaded once until it closes, its size told to the
// program only while it shows, and the end of the process when the last form leaves the screen.
// A backend keeps one in its form and calls it from the form's methods and window events.

#include <functional>

namespace ui {

class Form;

class FormLife {
public:
    bool Loaded() const { return loaded_; }

    // Runs the form's Load handler once, after `fresh` (the backend forgets the focus it had); a
    // failed load is no load: the next Show tries again.
    void Load(Form& form, const std::function<void()>& fresh);
    // The start of Show: loads the form; false when Show is to do nothing more (the session is
    // ending, or the Load handler closed the form).
    bool BeginShow(Form& form);
    // Runs Unload if the form is loaded (its failures reach the caller), then hides the form;
    // with no form left on the screen the process ends.
    void Close(Form& form);
    // The native window was destroyed from outside: no handler runs on it again.
    void Destroyed();

    // While Show itself puts the window on the screen, a new size waits until it is done.
    class Showing {
    public:
        explicit Showing(FormLife& life) : life_(life) { life_.showing_ = true; }
        ~Showing() { life_.showing_ = false; }
        Showing(const Showing&) = delete;
        Showing& operator=(const Showing&) = delete;

    private:
        FormLife& life_;
    };

    // The window took a new size: told now if the form is loaded and shows, else when it shows.
    void Resized(Form& form, bool visible);
    // The window is on the screen, however it got there (Show, or placed by another program):
    // a size it took while hidden is told now.
    void Shown(Form& form);

private:
    bool loaded_ = false;
    bool showing_ = false;
    bool resizePending_ = true; // a size not told yet, its first among them
};

} // namespace ui
