#include "ui/Screen.h"

#include "ui/Units.h"

#include <QGuiApplication>
#include <QScreen>

namespace ui::screen {

double WidthTwips() {
    return PixelsToTwips(QGuiApplication::primaryScreen()->geometry().width());
}

double HeightTwips() {
    return PixelsToTwips(QGuiApplication::primaryScreen()->geometry().height());
}

} // namespace ui::screen
