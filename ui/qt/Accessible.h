#pragma once
// What screen readers are told of the forms and their text boxes, where Qt's own answers are
// wrong or missing.

namespace ui {

// Installed once, before the first form: Qt asks it first for every object.
void InstallAccessibleFactory();

} // namespace ui
