#include "ui/FormLife.h"

#include "ui/Dispatch.h"
#include "ui/Form.h"
#include "ui/FormList.h"

namespace ui {

void FormLife::Load(Form& form, const std::function<void()>& fresh) {
    if (loaded_)
        return;
    loaded_ = true;
    fresh();
    try {
        if (form.OnLoad)
            form.OnLoad();
    } catch (...) {
        loaded_ = false;
        throw;
    }
}

bool FormLife::BeginShow(Form& form) {
    if (forms::SessionEnding())
        return false;
    form.Load();
    return loaded_;
}

void FormLife::Close(Form& form) {
    if (loaded_) {
        loaded_ = false;
        if (form.OnUnload)
            form.OnUnload();
    }
    // The window stays, hidden, so that the form can be shown (and loaded) again.
    form.Hide();
    forms::EndUnlessOneShows();
}

void FormLife::Destroyed() {
    loaded_ = false;
    Guarded([] { forms::EndUnlessOneShows(); });
}

void FormLife::Resized(Form& form, bool visible) {
    if (!loaded_ || showing_ || !visible) {
        resizePending_ = true;
        return;
    }
    resizePending_ = false;
    Dispatch(form.OnResize);
}

void FormLife::Shown(Form& form) {
    if (!resizePending_ || !loaded_ || showing_)
        return;
    resizePending_ = false;
    Dispatch(form.OnResize);
}

} // namespace ui
