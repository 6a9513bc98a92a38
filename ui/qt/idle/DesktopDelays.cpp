#include "ui/qt/idle/DesktopDelays.h"

#include "ui/qt/Dpms.h"
#include "ui/qt/Handles.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace ui::idle {

namespace {

using std::chrono::seconds;

bool OnDesktop(const char* name) {
    const QString desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    return desktops.split(QLatin1Char(':'))
        .contains(QString::fromLatin1(name), Qt::CaseInsensitive);
}

// GNOME blanks the screen after org.gnome.desktop.session idle-delay; the lock follows it.
void Gnome(std::vector<DesktopDelay>& delays) {
    if (!OnDesktop("GNOME"))
        return;
    QProcess gsettings;
    gsettings.start(QStringLiteral("gsettings"),
                    {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.session"),
                     QStringLiteral("idle-delay")});
    if (!gsettings.waitForFinished(3000) || gsettings.exitCode() != 0)
        return;
    // "uint32 300"
    bool number = false;
    const auto value = QString::fromUtf8(gsettings.readAllStandardOutput())
                           .trimmed()
                           .section(QLatin1Char(' '), -1)
                           .toLongLong(&number);
    if (number && value > 0)
        delays.push_back({QStringLiteral("GNOME blanks the screen"),
                          QStringLiteral("Settings, Power, Screen Blank (org.gnome.desktop.session "
                                         "idle-delay)"),
                          seconds(value)});
}

// Plasma's screen locker: kscreenlockerrc, [Daemon] Autolock (on unless said) and Timeout in
// minutes (5 unless said).
void Plasma(std::vector<DesktopDelay>& delays) {
    if (!OnDesktop("KDE"))
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QSettings file(QDir(folder).filePath(QStringLiteral("kscreenlockerrc")), QSettings::IniFormat);
    file.beginGroup(QStringLiteral("Daemon"));
    const bool autolock = file.value(QStringLiteral("Autolock"), true).toBool();
    const int minutes = file.value(QStringLiteral("Timeout"), 5).toInt();
    if (autolock && minutes > 0)
        delays.push_back({QStringLiteral("KDE Plasma locks the screen"),
                          QStringLiteral("System Settings, Screen Locking, Lock screen "
                                         "automatically (kscreenlockerrc Timeout)"),
                          std::chrono::minutes(minutes)});
}

// The X server's own screen saver (a blank screen, xset s) and its display power saving.
void X11(std::vector<DesktopDelay>& delays) {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (!display || !*display || (wayland && *wayland))
        return;
    xcb::Connection x(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(x.get()))
        return;
    const xcb::Owned<xcb_get_screen_saver_reply_t> saver(
        xcb_get_screen_saver_reply(x.get(), xcb_get_screen_saver(x.get()), nullptr));
    if (saver && saver->timeout > 0)
        delays.push_back({QStringLiteral("The X server blanks the screen"),
                          QStringLiteral("xset s SECONDS (xset s off: never)"),
                          seconds(saver->timeout)});
    if (!dpms::Present(x.get()))
        return;
    const auto info = dpms::AskInfo(x.get());
    if (!info || !info->enabled)
        return;
    if (const auto first = dpms::AskFirstTimeout(x.get()))
        delays.push_back({QStringLiteral("The X server switches the display off"),
                          QStringLiteral("xset dpms STANDBY SUSPEND OFF (xset -dpms: never)"),
                          *first});
}

} // namespace

std::vector<DesktopDelay> DesktopDelays() {
    std::vector<DesktopDelay> delays;
    Gnome(delays);
    Plasma(delays);
    X11(delays);
    return delays;
}

std::vector<DesktopDelay> Earlier(const std::vector<DesktopDelay>& delays,
                                  std::chrono::milliseconds timeout) {
    std::vector<DesktopDelay> earlier;
    for (const auto& delay : delays)
        if (delay.after < timeout)
            earlier.push_back(delay);
    return earlier;
}

std::vector<std::string> EarlierDelays(const std::vector<DesktopDelay>& delays,
                                       std::chrono::milliseconds timeout) {
    std::vector<std::string> said;
    for (const auto& delay : Earlier(delays, timeout))
        said.push_back("moondial: " + delay.what.toStdString() + " after " +
                       Described(delay.after) + ", before the saver's " + Described(timeout) +
                       ": set " + delay.setting.toStdString() + " longer, or give --idle less");
    return said;
}

std::string Described(std::chrono::milliseconds duration) {
    const auto count = std::chrono::duration_cast<seconds>(duration).count();
    return count % 60 == 0 ? std::to_string(count / 60) + " min" : std::to_string(count) + " s";
}

} // namespace ui::idle
