#include "ui/qt/idle/PlasmaInhibitors.h"

namespace ui::idle {

namespace {

const QString Agent = QStringLiteral("org.kde.Solid.PowerManagement.PolicyAgent");
// The kind of inhibition a player's screen-saver inhibit becomes there.
constexpr quint32 ChangeScreenSettings = 4;

} // namespace

PlasmaInhibitors::PlasmaInhibitors(QDBusConnection connection, Report told)
    : InhibitionFlag(std::move(connection),
                     {Agent,
                      QStringLiteral("/org/kde/Solid/PowerManagement/PolicyAgent"),
                      Agent,
                      QStringLiteral("HasInhibition"),
                      {QVariant::fromValue(ChangeScreenSettings)},
                      {QStringLiteral("InhibitionsChanged")}},
                     std::move(told)) {}

} // namespace ui::idle
