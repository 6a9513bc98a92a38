#include "ui/Screen.h"

#include "ui/Dispatch.h"
#include "ui/Units.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <cmath>

namespace ui::screen {

namespace {

// Gathers the screens' news into one call of the listener, from the event loop.
class Watch : public QObject {
public:
    explicit Watch(std::function<void()> listener) : listener_(std::move(listener)) {
        auto* application = qGuiApp;
        connect(application, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
            Follow(screen);
            Changed();
        });
        connect(application, &QGuiApplication::screenRemoved, this, [this] { Changed(); });
        connect(application, &QGuiApplication::primaryScreenChanged, this, [this] { Changed(); });
        for (QScreen* screen : QGuiApplication::screens())
            Follow(screen);
        pending_.setSingleShot(true);
        pending_.setInterval(0);
        connect(&pending_, &QTimer::timeout, this, [this] {
            const auto call = listener_; // it may replace the watch
            Dispatch(call);
        });
    }

private:
    void Follow(QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, this, [this] { Changed(); });
        connect(screen, &QScreen::physicalDotsPerInchChanged, this, [this] { Changed(); });
    }
    void Changed() { pending_.start(); }

    std::function<void()> listener_;
    QTimer pending_;
};

} // namespace

double WidthTwips() {
    return PixelsToTwips(QGuiApplication::primaryScreen()->geometry().width());
}

double HeightTwips() {
    return PixelsToTwips(QGuiApplication::primaryScreen()->geometry().height());
}

std::vector<Monitor> SystemMonitors() {
    std::vector<Monitor> monitors;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->geometry();
        const double scale = screen->devicePixelRatio();
        const auto device = [scale](int logical) {
            return static_cast<int>(std::lround(logical * scale));
        };
        const Monitor monitor{screen->name().toStdString(), device(area.x()),      device(area.y()),
                              device(area.width()),         device(area.height()), scale};
        monitors.insert(screen == primary ? monitors.begin() : monitors.end(), monitor);
    }
    return monitors;
}

void OnMonitorsChanged(std::function<void()> listener) {
    static QPointer<Watch> watch;
    delete watch.data();
    if (listener && qGuiApp)
        watch = new Watch(std::move(listener));
    if (watch)
        watch->setParent(qGuiApp); // goes with the application
}

} // namespace ui::screen
