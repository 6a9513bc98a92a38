#pragma once
// Plasma's power-management policy agent, to which KWin hands the inhibitions that players ask
// of the org.freedesktop.ScreenSaver it serves: Inhibited while it holds any that keeps the
// screen on, as Plasma's own screen locker asks it.

#include "ui/qt/idle/InhibitionFlag.h"

namespace ui::idle {

class PlasmaInhibitors final : public InhibitionFlag {
public:
    PlasmaInhibitors(QDBusConnection bus, Report report);
};

} // namespace ui::idle
