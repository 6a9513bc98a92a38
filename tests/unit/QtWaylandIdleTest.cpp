// The idle watcher's Wayland client against a stand-in compositor: the protocol it picks, the
// timeout it asks for, what it reports, a compositor that goes, and activation tokens.

#include "support/IdleCompositor.h"
#include "ui/qt/idle/ActivationToken.h"
#include "ui/qt/idle/WaylandIdle.h"

#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace std::chrono;
using tests::IdleCompositor;
using ui::idle::Edge;

namespace {

constexpr int Deadline = 10000;

class WaylandIdle : public ::testing::Test {
protected:
    void TearDown() override { unsetenv("WAYLAND_DISPLAY"); }
    // A compositor whose socket is the session's Wayland display.
    std::unique_ptr<IdleCompositor> Compositor(IdleCompositor::Offers offers) {
        auto compositor = std::make_unique<IdleCompositor>(offers);
        setenv("WAYLAND_DISPLAY", compositor->Socket().c_str(), 1);
        return compositor;
    }
    std::unique_ptr<ui::idle::Source> Source(milliseconds timeout) {
        return ui::idle::WaylandIdle::Find(timeout, report);
    }
    bool Reported(const std::vector<Edge>& expected) {
        return QTest::qWaitFor([&] { return reports == expected; }, Deadline);
    }

    std::vector<Edge> reports;
    int lost = 0;
    ui::idle::Report report = [this](Edge edge) {
        if (edge == Edge::Gone)
            ++lost;
        else
            reports.push_back(edge);
    };
};

} // namespace

TEST_F(WaylandIdle, ExtIdleNotifyIsPreferredWhereBothAreOffered) {
    const auto compositor = Compositor({.extIdleNotify = true, .kdeIdle = true});
    const auto source = Source(seconds(90));
    ASSERT_TRUE(source);
    EXPECT_STREQ(source->Name(), "ext-idle-notify-v1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !compositor->ExtTimeouts().empty(); }, Deadline));
    EXPECT_EQ(compositor->ExtTimeouts(), std::vector<std::uint32_t>{90000});
    EXPECT_TRUE(compositor->KdeTimeouts().empty());
    compositor->Idle();
    ASSERT_TRUE(Reported({Edge::Idle}));
    compositor->Resume();
    ASSERT_TRUE(Reported({Edge::Idle, Edge::Back}));
    compositor->Idle();
    EXPECT_TRUE(Reported({Edge::Idle, Edge::Back, Edge::Idle}));
}

TEST_F(WaylandIdle, KdesProtocolWhereItIsTheOnlyOne) {
    const auto compositor = Compositor({.kdeIdle = true});
    const auto source = Source(minutes(10));
    ASSERT_TRUE(source);
    EXPECT_STREQ(source->Name(), "org_kde_kwin_idle");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !compositor->KdeTimeouts().empty(); }, Deadline));
    EXPECT_EQ(compositor->KdeTimeouts(), std::vector<std::uint32_t>{600000});
    compositor->Idle();
    compositor->Resume();
    EXPECT_TRUE(Reported({Edge::Idle, Edge::Back}));
}

TEST_F(WaylandIdle, NoneWithoutAProtocolOrAWaylandDisplay) {
    {
        const auto compositor = Compositor({.activation = true});
        EXPECT_FALSE(Source(seconds(3)));
    }
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_FALSE(Source(seconds(3)));
    setenv("WAYLAND_DISPLAY", "no-such-display", 1);
    EXPECT_FALSE(Source(seconds(3)));
}

TEST_F(WaylandIdle, ACompositorThatDropsTheWatcherIsSaidOnce) {
    const auto compositor = Compositor({.extIdleNotify = true});
    const auto source = Source(seconds(3));
    ASSERT_TRUE(source);
    compositor->DropClients();
    ASSERT_TRUE(QTest::qWaitFor([&] { return lost > 0; }, Deadline));
    QTest::qWait(100);
    EXPECT_EQ(lost, 1);
    EXPECT_TRUE(reports.empty());
}

TEST_F(WaylandIdle, ActivationTokensWhereTheCompositorGivesThem) {
    {
        const auto compositor = Compositor({.kdeIdle = true, .activation = true});
        EXPECT_EQ(ui::idle::ActivationToken(), "token-1");
        EXPECT_EQ(ui::idle::ActivationToken(), "token-2"); // a fresh one for each saver
        EXPECT_EQ(compositor->TokenAppIds(), (std::vector<std::string>{"moondial", "moondial"}));
    }
    const auto compositor = Compositor({.kdeIdle = true});
    EXPECT_EQ(ui::idle::ActivationToken(), "");
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_EQ(ui::idle::ActivationToken(), "");
}
