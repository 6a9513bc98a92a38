// The saver on a desktop of two screens of different sizes and scales (the test program runs
// again on the offscreen platform with tests/forms/two-screens.json): a window on each, exactly
// over it, each picture moving on its own, input anywhere ending all, screens coming and going.

#include "SaverFixture.h"
#include "saver/SaverWindows.h"
#include "startup/modMain.h"
#include "support/StandIns.h"
#include "support/WidgetOf.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Monitors : public SaverFixture {
protected:
    void SetUp() override {
        SaverFixture::SetUp();
        if (QGuiApplication::screens().size() != 2)
            GTEST_SKIP() << "runs on two screens (QT_QPA_PLATFORM=offscreen:configfile=...)";
        modMain::ScreenSaverType = 1;
    }
    static QWidget* Widget(const SaverWindows::Shown& shown) {
        return testing_support::WidgetOf(shown.window->Form);
    }
    // The screens the outside world reports from now on, by name, and the news of it.
    void OnlyScreens(std::vector<std::string> names) {
        ui::World().Monitors = [names] {
            std::vector<ui::screen::Monitor> all = ui::screen::SystemMonitors(), kept;
            for (const auto& monitor : all)
                if (std::find(names.begin(), names.end(), monitor.Name) != names.end())
                    kept.push_back(monitor);
            return kept;
        };
        emit qGuiApp->primaryScreenChanged(QGuiApplication::primaryScreen());
        testing_support::RunEventsFor(50);
    }
};

TEST_F(Monitors, EachScreenHasAWindowExactlyOverIt) {
    SaverWindows saver;
    saver.Show();
    ASSERT_EQ(saver.Windows().size(), 2u);
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const auto& shown : saver.Windows()) {
        QWidget* window = Widget(shown);
        QScreen* screen = window->screen();
        ASSERT_NE(screen, nullptr);
        EXPECT_EQ(screen->name().toStdString(), shown.monitor.Name);
        EXPECT_EQ(window->geometry(), screen->geometry()) << shown.monitor.Name;
        EXPECT_TRUE(window->isVisible());
        EXPECT_DOUBLE_EQ(window->devicePixelRatioF(), screen->devicePixelRatio());
        // Each picture inside its own window, in the window's logical pixels.
        EXPECT_EQ(shown.window->Form.ScaleWidth(), screen->geometry().width() * 15.0);
    }
    EXPECT_EQ(ends, 0);
}

TEST_F(Monitors, EachPictureDrawsItsOwnStepsAndStaysOnItsScreen) {
    SaverWindows saver;
    saver.Show();
    ASSERT_EQ(saver.Windows().size(), 2u);
    std::vector<std::pair<std::int32_t, std::int32_t>> steps[2];
    for (int tick = 0; tick < 400; ++tick) {
        for (int i = 0; i < 2; ++i) {
            frmMoondialMain& window = *saver.Windows()[static_cast<std::size_t>(i)].window;
            window.tmrMove_Timer();
            if (steps[i].empty() || steps[i].back() != std::pair{window.StepX, window.StepY})
                steps[i].emplace_back(window.StepX, window.StepY);
            // Within its own window, past an edge by one step at most before it turns.
            ASSERT_NEAR(window.picClock.Left(), window.PicLeft, 7.5);
            ASSERT_GE(window.PicLeft, -40);
            ASSERT_LE(window.PicLeft + window.picClock.Width(), window.Form.Width() + 40) << i;
            ASSERT_LE(window.PicTop + window.picClock.Height(), window.Form.Height() + 40) << i;
        }
    }
    EXPECT_NE(steps[0], steps[1]); // drawn one after the other from one generator, never equal
    EXPECT_EQ(ends, 0);
}

TEST_F(Monitors, AKeyOrAClickInAnyWindowEndsTheSaver) {
    for (std::size_t which : {0u, 1u}) {
        SaverWindows saver;
        saver.Show();
        ASSERT_EQ(saver.Windows().size(), 2u);
        ends = 0;
        QTest::keyClick(Widget(saver.Windows()[which]), Qt::Key_A);
        EXPECT_GE(ends, 1) << which;
        ends = 0;
        QTest::mouseClick(Widget(saver.Windows()[which]), Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_GE(ends, 1) << which;
    }
}

TEST_F(Monitors, AScreenThatGoesTakesItsWindowAndOneThatComesGetsOne) {
    SaverWindows saver;
    saver.Show();
    ASSERT_EQ(saver.Windows().size(), 2u);
    const frmMoondialMain* first = saver.Windows()[0].window.get();
    const std::string second = saver.Windows()[1].monitor.Name;

    OnlyScreens({saver.Windows()[0].monitor.Name});
    ASSERT_EQ(saver.Windows().size(), 1u);
    EXPECT_EQ(saver.Windows()[0].window.get(), first); // the other window stays as it was

    OnlyScreens({saver.Windows()[0].monitor.Name, second});
    ASSERT_EQ(saver.Windows().size(), 2u);
    EXPECT_EQ(saver.Windows()[0].window.get(), first);
    EXPECT_EQ(saver.Windows()[1].monitor.Name, second);
    EXPECT_TRUE(Widget(saver.Windows()[1])->isVisible());
    EXPECT_EQ(ends, 0);
}

} // namespace
