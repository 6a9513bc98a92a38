// The watcher's D-Bus sources against stand-ins for GNOME's idle monitor and session manager,
// and applications calling its inhibit service, all on a private bus of their own.

#include "ui/qt/idle/DesktopDelays.h"
#include "ui/qt/idle/GnomeIdle.h"
#include "ui/qt/idle/PlasmaInhibitors.h"
#include "ui/qt/idle/ScreenSaverService.h"
#include "ui/qt/idle/SessionLocks.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <vector>

using namespace std::chrono;
using ui::idle::Edge;

namespace {

constexpr int Deadline = 10000;

// A dbus-daemon of the test's own, and named connections to it that end with the test.
class PrivateBus : public ::testing::Test {
protected:
    void SetUp() override {
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"),
                      QStringLiteral("--print-address=1")});
        ASSERT_TRUE(daemon.waitForStarted(Deadline));
        ASSERT_TRUE(QTest::qWaitFor([&] { return daemon.canReadLine(); }, Deadline));
        address = QString::fromUtf8(daemon.readLine()).trimmed();
    }
    void TearDown() override {
        for (const auto& name : names)
            QDBusConnection::disconnectFromBus(name);
        daemon.kill();
        daemon.waitForFinished();
    }
    QDBusConnection Connect() {
        names.push_back(QStringLiteral("idle-test-%1").arg(++made));
        return QDBusConnection::connectToBus(address, names.back());
    }
    // The last copy of a connection closes it.
    static void Disconnect(QDBusConnection& connection) {
        const QString name = connection.name();
        connection = QDBusConnection(QString());
        QDBusConnection::disconnectFromBus(name);
    }

    QProcess daemon;
    QString address;
    std::vector<QString> names;
    int made = 0;
};

// An object on the bus that answers each method from a table, and records the calls.
class StandIn final : public QDBusVirtualObject {
public:
    using Answer = std::function<QVariantList(const QDBusMessage&)>;
    std::map<QString, Answer> answers;
    std::vector<QDBusMessage> calls;

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        calls.push_back(message);
        const auto answer = answers.find(message.member());
        connection.send(answer == answers.end()
                            ? message.createErrorReply(QDBusError::UnknownMethod, message.member())
                            : message.createReply(answer->second(message)));
        return true;
    }
    int CallsOf(const QString& member) const {
        return static_cast<int>(std::count_if(
            calls.begin(), calls.end(), [&](const auto& call) { return call.member() == member; }));
    }
};

void Serve(QDBusConnection& bus, const QString& name, const QString& path, StandIn& object) {
    ASSERT_TRUE(bus.registerVirtualObject(path, &object));
    // A name a closed connection held is free only once the daemon has seen it close.
    ASSERT_TRUE(QTest::qWaitFor([&] { return bus.registerService(name); }, Deadline));
}

void Emit(QDBusConnection& bus, const QString& path, const QString& interface,
          const QString& signal, const QVariantList& arguments) {
    auto message = QDBusMessage::createSignal(path, interface, signal);
    message.setArguments(arguments);
    ASSERT_TRUE(bus.send(message));
}

const QString Monitor = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString MonitorPath = QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core");
const QString Session = QStringLiteral("org.gnome.SessionManager");
const QString SessionPath = QStringLiteral("/org/gnome/SessionManager");

class GnomeIdle : public PrivateBus {
protected:
    void SetUp() override {
        PrivateBus::SetUp();
        gnome = Connect();
        monitor.answers[QStringLiteral("AddIdleWatch")] = [](const QDBusMessage&) {
            return QVariantList{QVariant::fromValue<quint32>(7)};
        };
        monitor.answers[QStringLiteral("AddUserActiveWatch")] = [this](const QDBusMessage&) {
            return QVariantList{QVariant::fromValue<quint32>(++activeWatches + 100)};
        };
        session.answers[QStringLiteral("IsInhibited")] = [this](const QDBusMessage& call) {
            return QVariantList{call.arguments().value(0).toUInt() == 8 && idleInhibited};
        };
    }
    void Fire(quint32 watch) {
        Emit(gnome, MonitorPath, Monitor, QStringLiteral("WatchFired"),
             {QVariant::fromValue(watch)});
    }
    void SessionSignal(const char* signal) {
        Emit(gnome, SessionPath, Session, QString::fromLatin1(signal),
             {QVariant::fromValue(QDBusObjectPath("/org/gnome/SessionManager/Inhibitor1"))});
    }
    bool Reported(const std::vector<Edge>& expected) {
        return QTest::qWaitFor([&] { return reports == expected; }, Deadline);
    }

    QDBusConnection gnome{QString()};
    StandIn monitor, session;
    quint32 activeWatches = 0;
    bool idleInhibited = false;
    std::vector<Edge> reports;
    ui::idle::Report report = [this](Edge edge) { reports.push_back(edge); };
};

} // namespace

TEST_F(GnomeIdle, NotChosenWhereTheMonitorDoesNotRun) {
    EXPECT_FALSE(ui::idle::GnomeIdle::Find(Connect(), seconds(3), report, report));
}

TEST_F(GnomeIdle, IdleWatchThenOneUserActiveWatchPerTimeAway) {
    Serve(gnome, Monitor, MonitorPath, monitor);
    const auto source = ui::idle::GnomeIdle::Find(Connect(), seconds(3), report, report);
    ASSERT_TRUE(source);
    ASSERT_TRUE(QTest::qWaitFor([&] { return monitor.CallsOf("AddIdleWatch") == 1; }, Deadline));
    EXPECT_EQ(monitor.calls.front().arguments().value(0).toULongLong(), 3000u);

    Fire(101); // no such watch yet
    Fire(7);
    ASSERT_TRUE(Reported({Edge::Idle}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return activeWatches == 1; }, Deadline));
    Fire(101);
    ASSERT_TRUE(Reported({Edge::Idle, Edge::Back}));
    Fire(101); // a user-active watch fires once; another report would be a second return
    Fire(7);
    ASSERT_TRUE(Reported({Edge::Idle, Edge::Back, Edge::Idle}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return activeWatches == 2; }, Deadline));
    Fire(102);
    EXPECT_TRUE(Reported({Edge::Idle, Edge::Back, Edge::Idle, Edge::Back}));
    EXPECT_EQ(monitor.CallsOf("AddIdleWatch"), 1);
}

TEST_F(GnomeIdle, SessionIdleInhibitorsAreFollowed) {
    Serve(gnome, Monitor, MonitorPath, monitor);
    Serve(gnome, Session, SessionPath, session);
    idleInhibited = true; // a video already playing when the watcher starts
    const auto source = ui::idle::GnomeIdle::Find(Connect(), minutes(10), report, report);
    ASSERT_TRUE(Reported({Edge::Inhibited}));
    SessionSignal("InhibitorAdded"); // another inhibitor, of a kind other than idle
    idleInhibited = false;
    SessionSignal("InhibitorRemoved");
    ASSERT_TRUE(Reported({Edge::Inhibited, Edge::Released}));
    SessionSignal("InhibitorRemoved");
    idleInhibited = true;
    SessionSignal("InhibitorAdded");
    EXPECT_TRUE(Reported({Edge::Inhibited, Edge::Released, Edge::Inhibited}));
    for (const auto& call : session.calls)
        EXPECT_EQ(call.arguments().value(0).toUInt(), 8u); // the idle flag only
}

namespace {

class InhibitService : public PrivateBus {
protected:
    // An application's call; its cookie, or nothing for an error.
    std::optional<quint32>
    Call(QDBusConnection& application, const QString& method, const QVariantList& arguments,
         const QString& path = QStringLiteral("/org/freedesktop/ScreenSaver")) {
        auto call =
            QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"), path,
                                           QStringLiteral("org.freedesktop.ScreenSaver"), method);
        call.setArguments(arguments);
        // Asynchronous, since the service answers from this thread's event loop.
        QDBusPendingCall pending = application.asyncCall(call);
        if (!QTest::qWaitFor([&] { return pending.isFinished(); }, Deadline))
            return std::nullopt;
        const QDBusMessage reply = pending.reply();
        if (reply.type() != QDBusMessage::ReplyMessage)
            return std::nullopt;
        return reply.arguments().isEmpty() ? 0u : reply.arguments().value(0).toUInt();
    }
    std::optional<quint32>
    Inhibit(QDBusConnection& application,
            const QString& path = QStringLiteral("/org/freedesktop/ScreenSaver")) {
        return Call(application, QStringLiteral("Inhibit"),
                    {QStringLiteral("player"), QStringLiteral("playing a video")}, path);
    }
    bool UnInhibit(QDBusConnection& application, quint32 cookie) {
        return Call(application, QStringLiteral("UnInhibit"), {QVariant::fromValue(cookie)})
            .has_value();
    }

    std::vector<Edge> reports;
    ui::idle::Report report = [this](Edge edge) { reports.push_back(edge); };
};

} // namespace

TEST_F(InhibitService, HeldWhileAnyCookieIsOut) {
    const auto service = ui::idle::ScreenSaverService::Find(Connect(), report);
    ASSERT_TRUE(service);
    auto player = Connect(), browser = Connect();
    const auto first = Inhibit(player);
    const auto second = Inhibit(browser, QStringLiteral("/ScreenSaver")); // the older path
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, 0u);
    EXPECT_NE(*first, *second);
    EXPECT_EQ(reports, std::vector<Edge>{Edge::Inhibited});
    EXPECT_TRUE(UnInhibit(player, *first));
    EXPECT_TRUE(UnInhibit(player, *first + 1000)); // a cookie never given: nothing changes
    EXPECT_EQ(reports, std::vector<Edge>{Edge::Inhibited});
    EXPECT_TRUE(UnInhibit(browser, *second));
    EXPECT_EQ(reports, (std::vector<Edge>{Edge::Inhibited, Edge::Released}));
}

TEST_F(InhibitService, ACallerThatLeavesTheBusTakesItsCookiesAlong) {
    const auto service = ui::idle::ScreenSaverService::Find(Connect(), report);
    ASSERT_TRUE(service);
    auto crashed = Connect(), player = Connect();
    ASSERT_TRUE(Inhibit(crashed) && Inhibit(crashed));
    const auto kept = Inhibit(player);
    ASSERT_TRUE(kept);
    Disconnect(crashed);
    QTest::qWait(200);
    EXPECT_EQ(reports, std::vector<Edge>{Edge::Inhibited}); // the player's still held
    Disconnect(player);
    EXPECT_TRUE(QTest::qWaitFor([&] { return reports.size() == 2; }, Deadline));
    EXPECT_EQ(reports, (std::vector<Edge>{Edge::Inhibited, Edge::Released}));
}

TEST_F(InhibitService, NotServedWhereAnotherProgramOwnsTheName) {
    auto desktop = Connect();
    ASSERT_TRUE(desktop.registerService(QStringLiteral("org.freedesktop.ScreenSaver")));
    EXPECT_FALSE(ui::idle::ScreenSaverService::Find(Connect(), report));
    // And the name is the desktop's still.
    auto bus = Connect();
    EXPECT_EQ(bus.interface()->serviceOwner(QStringLiteral("org.freedesktop.ScreenSaver")).value(),
              desktop.baseService());
}

// The session's locks and sleeps, with the same private bus standing for the system bus.
class SessionLocks : public GnomeIdle {
protected:
    void SetUp() override {
        GnomeIdle::SetUp();
        login = Connect();
        manager.answers[QStringLiteral("GetSession")] = [this](const QDBusMessage& call) {
            asked = call.arguments().value(0).toString();
            return QVariantList{QVariant::fromValue(QDBusObjectPath(SessionObject))};
        };
        Serve(login, QStringLiteral("org.freedesktop.login1"),
              QStringLiteral("/org/freedesktop/login1"), manager);
    }
    void Login(const QString& path, const char* interface, const char* signal,
               const QVariantList& arguments = {}) {
        Emit(login, path, QString::fromLatin1(interface), QString::fromLatin1(signal), arguments);
    }
    void Session(const char* signal) {
        Login(SessionObject, "org.freedesktop.login1.Session", signal);
    }
    void Sleep(bool sleeping) {
        Login(QStringLiteral("/org/freedesktop/login1"), "org.freedesktop.login1.Manager",
              "PrepareForSleep", {sleeping});
    }
    std::unique_ptr<QObject> Watching() {
        auto locks = std::make_unique<ui::idle::SessionLocks>(
            Connect(), Connect(),
            ui::idle::SessionLocks::Reports{report, [this](Edge edge) { sleeps.push_back(edge); },
                                            report});
        // Following the session once logind has named it.
        EXPECT_TRUE(QTest::qWaitFor([&] { return manager.CallsOf(QStringLiteral("GetSession")); },
                                    Deadline));
        QTest::qWait(100);
        return locks;
    }

    const QString SessionObject = QStringLiteral("/org/freedesktop/login1/session/_32");
    QDBusConnection login{QString()};
    StandIn manager;
    QString asked;
    std::vector<Edge> sleeps;
};

TEST_F(SessionLocks, LogindsLockAndSleepAndTheDesktopsOwnSaverLockTheSession) {
    qputenv("XDG_SESSION_ID", "2");
    const auto locks = Watching();
    EXPECT_EQ(asked, QStringLiteral("2"));
    Session("Lock");
    ASSERT_TRUE(Reported({Edge::Locked}));
    Sleep(true); // told apart: the watcher's policy combines them
    Session("Unlock");
    Sleep(false);
    ASSERT_TRUE(Reported({Edge::Locked, Edge::Unlocked}));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return sleeps == std::vector<Edge>{Edge::Locked, Edge::Unlocked};
        },
        Deadline));

    // Another session's lock is not ours.
    Login(QStringLiteral("/org/freedesktop/login1/session/_33"), "org.freedesktop.login1.Session",
          "Lock");
    QTest::qWait(300);
    EXPECT_EQ(reports, (std::vector<Edge>{Edge::Locked, Edge::Unlocked}));

    // The desktop's own locker, under whatever name it has on the session bus.
    auto desktop = Connect();
    for (const char* saver : {"org.freedesktop.ScreenSaver", "org.gnome.ScreenSaver"}) {
        reports.clear();
        Emit(desktop, QStringLiteral("/ScreenSaver"), QString::fromLatin1(saver),
             QStringLiteral("ActiveChanged"), {true});
        Emit(desktop, QStringLiteral("/ScreenSaver"), QString::fromLatin1(saver),
             QStringLiteral("ActiveChanged"), {false});
        EXPECT_TRUE(Reported({Edge::Locked, Edge::Unlocked})) << saver;
    }
    qunsetenv("XDG_SESSION_ID");
}

// A user service runs outside any login session: logind picks the user's display session.
TEST_F(SessionLocks, OutsideASessionTheUsersDisplaySessionIsFollowed) {
    qunsetenv("XDG_SESSION_ID");
    const auto locks = Watching();
    EXPECT_EQ(asked, QStringLiteral("auto"));
    Session("Lock");
    EXPECT_TRUE(Reported({Edge::Locked}));
}

// GNOME Shell restarting (Alt+F2 r, a crash the session recovers from) knows none of the old
// watches: they are added afresh, and a user away when it went is still heard coming back.
TEST_F(GnomeIdle, WatchesAreAddedAgainWhenTheMonitorRestarts) {
    Serve(gnome, Monitor, MonitorPath, monitor);
    const auto source = ui::idle::GnomeIdle::Find(Connect(), seconds(3), report, report);
    ASSERT_TRUE(source);
    ASSERT_TRUE(QTest::qWaitFor([&] { return monitor.CallsOf("AddIdleWatch") == 1; }, Deadline));
    Fire(7);
    ASSERT_TRUE(Reported({Edge::Idle}));

    Disconnect(gnome);
    StandIn restarted;
    restarted.answers[QStringLiteral("AddIdleWatch")] = [](const QDBusMessage&) {
        return QVariantList{QVariant::fromValue<quint32>(1)};
    };
    restarted.answers[QStringLiteral("AddUserActiveWatch")] = [](const QDBusMessage&) {
        return QVariantList{QVariant::fromValue<quint32>(2)};
    };
    gnome = Connect();
    Serve(gnome, Monitor, MonitorPath, restarted);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return restarted.CallsOf("AddIdleWatch") == 1 &&
                   restarted.CallsOf("AddUserActiveWatch") == 1;
        },
        Deadline));
    QTest::qWait(100);
    Fire(2);
    ASSERT_TRUE(Reported({Edge::Idle, Edge::Back}));
    Fire(1);
    EXPECT_TRUE(Reported({Edge::Idle, Edge::Back, Edge::Idle}));
}

// Plasma's policy agent, to which KWin forwards a player's screen-saver inhibit.
TEST_F(GnomeIdle, PlasmasPolicyAgentIsFollowedAsItsOwnLockerDoes) {
    const QString agent = QStringLiteral("org.kde.Solid.PowerManagement.PolicyAgent");
    const QString agentPath = QStringLiteral("/org/kde/Solid/PowerManagement/PolicyAgent");
    StandIn policy;
    bool screenHeld = true; // a film already playing
    policy.answers[QStringLiteral("HasInhibition")] = [&](const QDBusMessage& call) {
        return QVariantList{call.arguments().value(0).toUInt() == 4 && screenHeld};
    };
    auto plasma = Connect();
    Serve(plasma, agent, agentPath, policy);
    const auto source = std::make_unique<ui::idle::PlasmaInhibitors>(Connect(), report);
    ASSERT_TRUE(Reported({Edge::Inhibited}));
    screenHeld = false;
    Emit(plasma, agentPath, agent, QStringLiteral("InhibitionsChanged"),
         {QVariant::fromValue(QList<QString>{}), QVariant::fromValue(QStringList{"vlc"})});
    ASSERT_TRUE(Reported({Edge::Inhibited, Edge::Released}));

    // The agent restarting with a film on is asked again; the agent gone holds nothing.
    Disconnect(plasma);
    screenHeld = true;
    plasma = Connect();
    Serve(plasma, agent, agentPath, policy);
    ASSERT_TRUE(Reported({Edge::Inhibited, Edge::Released, Edge::Inhibited}));
    Disconnect(plasma);
    EXPECT_TRUE(Reported({Edge::Inhibited, Edge::Released, Edge::Inhibited, Edge::Released}));
}

// A caller gone before the service had begun to watch it (a dbus-send that does not wait for
// the answer, a crash right after the call) would hold its cookie for ever.
TEST_F(InhibitService, ACallerGoneBeforeItsCallIsAnsweredTakesItsCookieAlong) {
    const auto service = ui::idle::ScreenSaverService::Find(Connect(), report);
    ASSERT_TRUE(service);
    auto hasty = Connect();
    auto call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                               QStringLiteral("/org/freedesktop/ScreenSaver"),
                                               QStringLiteral("org.freedesktop.ScreenSaver"),
                                               QStringLiteral("Inhibit"));
    call.setArguments({QStringLiteral("dbus-send"), QStringLiteral("a film")});
    ASSERT_TRUE(hasty.send(call));
    Disconnect(hasty);
    EXPECT_TRUE(QTest::qWaitFor([&] { return reports.size() == 2; }, Deadline));
    EXPECT_EQ(reports, (std::vector<Edge>{Edge::Inhibited, Edge::Released}));
}

// The desktop's own delays: the ones that come before the watcher's are said, naming the
// setting; Plasma's locker is read from its own file, with its defaults where it says nothing.
TEST(DesktopDelays, TheOnesBeforeTheWatchersTimeoutAreSaid) {
    using ui::idle::DesktopDelay;
    const std::vector<DesktopDelay> delays{
        {QStringLiteral("GNOME blanks the screen"), QStringLiteral("idle-delay"), minutes(5)},
        {QStringLiteral("The X server blanks the screen"), QStringLiteral("xset s"), minutes(10)}};
    const auto said = ui::idle::EarlierDelays(delays, minutes(10));
    ASSERT_EQ(said.size(), 1u); // 10 minutes ties: the saver's timer is already running
    EXPECT_EQ(said[0], "moondial: GNOME blanks the screen after 5 min, before the saver's 10 "
                       "min: set idle-delay longer, or give --idle less");
    EXPECT_EQ(ui::idle::EarlierDelays(delays, seconds(90)), std::vector<std::string>{});
    EXPECT_EQ(ui::idle::EarlierDelays(delays, minutes(11)).size(), 2u);
}

TEST(DesktopDelays, PlasmasScreenLockerIsReadFromItsSettings) {
    // The variables as they were, set or not, once the test is done.
    struct Kept {
        const char* name;
        std::optional<QByteArray> value;
        explicit Kept(const char* variable) : name(variable) {
            if (qEnvironmentVariableIsSet(name))
                value = qgetenv(name);
        }
        ~Kept() { value ? qputenv(name, *value) : qunsetenv(name); }
    } display("DISPLAY"), desktop("XDG_CURRENT_DESKTOP"), config("XDG_CONFIG_HOME");
    QTemporaryDir folder;
    qunsetenv("DISPLAY");
    qputenv("XDG_CONFIG_HOME", folder.path().toUtf8());
    const auto lockerAfter = [&](const char* file) -> std::optional<minutes> {
        QFile settings(folder.filePath(QStringLiteral("kscreenlockerrc")));
        settings.open(QIODevice::WriteOnly);
        settings.write(file);
        settings.close();
        for (const auto& delay : ui::idle::DesktopDelays())
            if (delay.what.contains(QStringLiteral("Plasma")))
                return std::chrono::duration_cast<minutes>(delay.after);
        return std::nullopt;
    };
    qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    EXPECT_EQ(lockerAfter(""), std::nullopt); // not on Plasma
    qputenv("XDG_CURRENT_DESKTOP", "KDE");
    EXPECT_EQ(lockerAfter(""), minutes(5)); // Plasma's defaults
    EXPECT_EQ(lockerAfter("[Daemon]\nTimeout=15\n"), minutes(15));
    EXPECT_EQ(lockerAfter("[Daemon]\nAutolock=false\nTimeout=15\n"), std::nullopt);
}
