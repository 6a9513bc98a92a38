#pragma once
// The Qt widget behind a form, a control or a picture box, for the form tests that send it a
// real event or grab its pixels: the one place they reach past the layer's public headers.

#include "ui/qt/Impl.h"

namespace testing_support {

inline QWidget* WidgetOf(const ui::Form& form) {
    return form.Native().widget;
}
inline QWidget* WidgetOf(const ui::Control& control) {
    return control.Native().widget.data();
}
inline ui::PictureWidget* WidgetOf(const ui::PictureBox& box) {
    return box.Native().widget.data();
}

} // namespace testing_support
