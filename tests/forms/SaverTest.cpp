// The saver window on the real Qt forms, offscreen, with the outside world replaced.

#include "forms/SaverFixture.h"
#include "support/WidgetOf.h"
#include "ui/Screen.h"
#include "ui/Services.h"
#include "ui/Units.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <map>

namespace {

class Saver : public SaverFixture {
protected:
    void StorePath(const std::string& path) {
        modMain::SetRegKey(modMain::HKeyCurrentUser, modMain::SettingsKey, "Custom Graphic Path",
                           path);
    }

    std::string WritePicture(const char* name, int width, int height) {
        const QString path = folder.filePath(name);
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        EXPECT_TRUE(image.save(path));
        return path.toStdString();
    }

    static QImage Grab(const ui::PictureBox& box) {
        return testing_support::WidgetOf(box)->grab().toImage();
    }

    QTemporaryDir folder;
};

struct Shows {
    bool custom, clock, lips, alarm;
    bool clockTimer, lipsTimer, alarmTimer;
};

Shows What(const frmMoondialMain& f) {
    return {f.picCustom.Visible(),     f.picClock.Visible(), f.picLips.Visible(),
            f.picAlarmClock.Visible(), f.tmrClock.Enabled(), f.tmrClockLips.Enabled(),
            f.tmrAlarmClock.Enabled()};
}

bool operator==(const Shows& a, const Shows& b) {
    return std::tie(a.custom, a.clock, a.lips, a.alarm, a.clockTimer, a.lipsTimer, a.alarmTimer) ==
           std::tie(b.custom, b.clock, b.lips, b.alarm, b.clockTimer, b.lipsTimer, b.alarmTimer);
}

TEST_F(Saver, EachTypeShowsItsPictureAndRunsItsOneClock) {
    EXPECT_TRUE(What(*Shown(1)) == (Shows{false, true, false, false, true, false, false}));
    EXPECT_TRUE(What(*Shown(2)) == (Shows{false, false, true, false, false, true, false}));
    EXPECT_TRUE(What(*Shown(3)) == (Shows{false, false, false, true, false, false, true}));
    for (int other : {0, 5, -1})
        EXPECT_TRUE(What(*Shown(other)) ==
                    (Shows{false, false, false, false, false, false, false}));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(ends, 0);
}

TEST_F(Saver, WindowIsBlackBorderlessTopmostAndCoversTheScreen) {
    auto form = Shown(1);
    QWidget* window = testing_support::WidgetOf(form->Form);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(window->geometry(), window->screen()->geometry());
    EXPECT_EQ(window->cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(form->Form.BackColor(), ui::Black);
    EXPECT_TRUE(form->tmrMove.Enabled());
    EXPECT_EQ(form->tmrMove.Interval(), 30);
    EXPECT_EQ(form->tmrClockLips.Interval(), 100);
}

TEST_F(Saver, LayoutOfThePictures) {
    frmMoondialMain f;
    EXPECT_EQ(f.picClock.Width(), 2160);
    EXPECT_EQ(f.picClock.Height(), 2175);
    EXPECT_EQ(f.picClockMovement.Left(), 540); // 535 twips is 35.67 pixels
    EXPECT_EQ(f.picClockMovement.Width(), 1140);
    EXPECT_EQ(f.picAlarmClockMoveMent.Width(), 1005);
    EXPECT_EQ(f.picAlarmClockMoveMent.Height(), 945);
    EXPECT_EQ(f.picLips.Width(), 3330);
    EXPECT_EQ(f.picLips.Height(), 2040);
    EXPECT_EQ(f.picLips.Left(), 4950);
}

TEST_F(Saver, CustomPictureTakesItsOwnSize) {
    StorePath(WritePicture("mine.bmp", 300, 200));
    auto form = Shown(4);
    EXPECT_TRUE(What(*form) == (Shows{true, false, false, false, false, false, false}));
    EXPECT_EQ(form->picCustom.Width(), 300 * 15);
    EXPECT_EQ(form->picCustom.Height(), 200 * 15);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Saver, CustomPictureFailuresWarnAndEnd) {
    const std::string corrupt = folder.filePath("broken.jpg").toStdString();
    QFile file(QString::fromStdString(corrupt));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xFF\xD8\xFF\xE0 not really a picture");
    file.close();
    const std::string missing = folder.filePath("gone.bmp").toStdString();
    const std::string noFolder = folder.filePath("no such folder/gone.gif").toStdString();

    const struct {
        std::optional<std::string> stored;
        std::string title, first, line;
    } cases[] = {
        {missing, "Moondial - Custom Image Not Found", "Custom graphic image is missing.", missing},
        {noFolder, "Moondial - Custom Image Not Found", "Custom graphic image is missing.",
         noFolder},
        {std::nullopt, "Moondial - Custom Image Not Found", "Custom graphic image is missing.",
         "N/A"},
        {"", "Moondial - Custom Image Not Found", "Custom graphic image is missing.", ""},
        {corrupt, "Moondial - Custom Image Corrupt", "Custom graphic image is corrupt.", corrupt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        testing_support::ClearStore();
        if (c.stored)
            StorePath(*c.stored);
        messages.clear();
        ends = 0;
        auto form = Shown(4);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].title, c.title);
        EXPECT_EQ(messages[0].style, 48);
        EXPECT_EQ(messages[0].text, c.first + "\r\n\r\n" + c.line +
                                        "\r\n\r\nGo into the screen saver settings to fix this.");
        EXPECT_EQ(ends, 1);
    }
}

TEST_F(Saver, OtherLoaderFailuresGetTheCommonReportAndEnd) {
    StorePath(folder.path().toStdString()); // a folder is no picture file
    auto form = Shown(4);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "CRITICAL ERROR");
    EXPECT_NE(messages[0].text.find("   Routine Name : Private Sub Form_Load\r\n"),
              std::string::npos);
    EXPECT_EQ(ends, 1);
}

TEST_F(Saver, ResizePreparesTheHandSurfaces) {
    auto form = Shown(1);
    EXPECT_EQ(form->picLips.PenWidth(), 5);
    EXPECT_EQ(form->picClockMovement.PenWidth(), 2);
    EXPECT_EQ(form->picAlarmClockMoveMent.PenWidth(), 2);
    EXPECT_DOUBLE_EQ(form->Hands.HourHandLength, 0.9);
    EXPECT_DOUBLE_EQ(form->Hands.MinuteHandLength, 1.25);
    EXPECT_DOUBLE_EQ(form->Hands.SecondHandLength, 1.75);
    EXPECT_DOUBLE_EQ(form->Hands.TwoPi, 2 * M_PI);
    EXPECT_DOUBLE_EQ(form->Hands.HalfPi * 4, form->Hands.TwoPi);
}

// ---- Exit on input ----

TEST_F(Saver, MouseTestStateTable) {
    frmMoondialMain f;
    f.Form_MouseMove(1500, 3000); // first report: recorded
    EXPECT_EQ(ends, 0);
    f.Form_MouseMove(1500, 3000); // the same place: the record clears
    EXPECT_EQ(ends, 0);
    EXPECT_EQ(f.LastMouseX, 0);
    f.Form_MouseMove(1500, 3000); // recorded again
    f.Form_MouseMove(1500, 3000);
    f.Form_MouseMove(1500, 3000);
    EXPECT_EQ(ends, 0);                                       // any number of reports at one place
    EXPECT_TRUE(Ends([&] { f.Form_MouseMove(1501, 3000); })); // one twip is enough
}

TEST_F(Saver, MouseAtTheTopLeftCornerRecordsNothing) {
    frmMoondialMain f;
    f.Form_MouseMove(0, 0);
    f.Form_MouseMove(0, 0);
    f.Form_MouseMove(0, 0);
    EXPECT_EQ(ends, 0);
    f.Form_MouseMove(15, 0); // recorded
    EXPECT_TRUE(Ends([&] { f.Form_MouseMove(30, 0); }));
}

TEST_F(Saver, MouseTestWorksBelowTheSixteenBitRange) {
    frmMoondialMain f;
    f.Form_MouseMove(150, 45000); // 3000 pixels down
    f.Form_MouseMove(150, 45000);
    EXPECT_EQ(ends, 0);
    f.Form_MouseMove(150, 45000);
    EXPECT_TRUE(Ends([&] { f.Form_MouseMove(150, 45015); }));
}

TEST_F(Saver, RealPointerMovesEndTheSaverOverBackgroundOrPicture) {
    for (bool overPicture : {false, true}) {
        ends = 0;
        auto form = Shown(2);
        QWidget* window = testing_support::WidgetOf(form->Form);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        QWidget* target = overPicture ? testing_support::WidgetOf(form->picLips) : window;
        QTest::mouseMove(target, QPoint(20, 20));
        EXPECT_EQ(ends, 0);
        QTest::mouseMove(target, QPoint(22, 20));
        EXPECT_EQ(ends, 1) << (overPicture ? "over the lips" : "over the background");
    }
}

TEST_F(Saver, ClicksAndKeysAnywhereEndTheSaver) {
    auto form = Shown(3);
    const std::vector<QWidget*> targets = {testing_support::WidgetOf(form->Form),
                                           testing_support::WidgetOf(form->picAlarmClock),
                                           testing_support::WidgetOf(form->picAlarmClockMoveMent),
                                           testing_support::WidgetOf(form->picCustom),
                                           testing_support::WidgetOf(form->picLips),
                                           testing_support::WidgetOf(form->picClock)};
    for (QWidget* target : targets) {
        ends = 0;
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_GE(ends, 1) << "click";
        ends = 0;
        QTest::keyClick(target, Qt::Key_A);
        EXPECT_GE(ends, 1) << "key";
    }
}

// Qt moved the focus on Tab before any key handler saw it; only the left button and no wheel
// reached the saver's handlers.
TEST_F(Saver, TabRightAndMiddleButtonsAndTheWheelEndTheSaverToo) {
    auto form = Shown(1);
    const std::vector<QWidget*> targets = {testing_support::WidgetOf(form->Form),
                                           testing_support::WidgetOf(form->picClock),
                                           testing_support::WidgetOf(form->picClockMovement),
                                           testing_support::WidgetOf(form->picCustom)};
    for (QWidget* target : targets) {
        for (const auto key : {Qt::Key_Tab, Qt::Key_Backtab}) {
            ends = 0;
            QTest::keyClick(target, key);
            EXPECT_GE(ends, 1) << "key " << key;
        }
        for (const auto button : {Qt::RightButton, Qt::MiddleButton}) {
            ends = 0;
            QTest::mousePress(target, button, {}, QPoint(3, 3));
            EXPECT_GE(ends, 1) << "button " << button;
            QTest::mouseRelease(target, button, {}, QPoint(3, 3));
        }
        ends = 0;
        QWheelEvent wheel(QPointF(3, 3), target->mapToGlobal(QPointF(3, 3)), {}, {0, 120},
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
        EXPECT_GE(ends, 1) << "wheel";
    }
}

// The window manager's close request only hid the saver, which then ticked on unseen, holding
// the instance mark, so that no later start ever showed.
TEST_F(Saver, AClosedSaverWindowEndsTheProgram) {
    auto form = Shown(2);
    testing_support::WidgetOf(form->Form)->close();
    EXPECT_EQ(ends, 1);
}

TEST_F(Saver, TheWindowCarriesTheProgramsIcon) {
    auto form = Shown(1);
    const QIcon icon = testing_support::WidgetOf(form->Form)->windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(16, 16)));
}

TEST_F(Saver, TheSaverTakesTheKeyboardFocusWhenItShows) {
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    auto form = Shown(1);
    EXPECT_TRUE(QTest::qWaitForWindowActive(testing_support::WidgetOf(form->Form)));
}

// A report from a failure no routine trapped opened under the stays-on-top saver, which hides
// the pointer and ignores input: the screen looked frozen.
TEST_F(Saver, AReportShowsAboveTheSaver) {
    auto form = Shown(1);
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(box->parentWidget(), testing_support::WidgetOf(form->Form));
        checked = true;
        box->accept();
    });
    ui::RealWorld().ShowMessage("Run-time error", ui::CriticalStyle, "Moondial");
    EXPECT_TRUE(checked);
}

// ---- Motion ----

// Both axes drew from one seed in one millisecond, so the picture always set off at exactly
// 45 degrees and kept the slope through every corner.
TEST_F(Saver, TheFirstStepsOfTheTwoAxesAreDrawnApart) {
    auto form = Shown(1);
    int apart = 0;
    std::map<int, int> steps;
    for (int i = 0; i < 1000; ++i) {
        now.SecondsSinceMidnight = 40000 + i * 0.03;
        form->PicLeft = form->PicTop = form->StepX = form->StepY = 0;
        form->tmrMove_Timer();
        apart += form->StepX != form->StepY;
        ++steps[form->StepX];
        ++steps[form->StepY];
    }
    EXPECT_GT(apart, 900);
    EXPECT_EQ(steps.size(), 30u);
    EXPECT_EQ(steps.begin()->first, 11);
    EXPECT_EQ(steps.rbegin()->first, 40);
}

TEST_F(Saver, FirstTickJumpsNearTheTopLeftCorner) {
    auto form = Shown(1);
    form->tmrMove_Timer();
    EXPECT_GE(form->PicLeft, 11);
    EXPECT_LE(form->PicLeft, 40);
    EXPECT_GE(form->PicTop, 11);
    EXPECT_LE(form->PicTop, 40);
    EXPECT_EQ(form->picClock.Left(), ui::TwipsToPixels(form->PicLeft) * 15.0);
    EXPECT_EQ(form->picClock.Top(), ui::TwipsToPixels(form->PicTop) * 15.0);
}

TEST_F(Saver, EdgesTurnThePictureBack) {
    auto form = Shown(3);
    const int right = static_cast<int>(form->Form.Width() - form->picAlarmClock.Width());
    const int bottom = static_cast<int>(form->Form.Height() - form->picAlarmClock.Height());
    for (int i = 0; i < 20; ++i) {
        now.SecondsSinceMidnight = 100 + i * 0.37;
        form->PicLeft = right;
        form->PicTop = bottom + 5;
        form->StepX = form->StepY = 20;
        form->tmrMove_Timer();
        EXPECT_GE(form->StepX, -40);
        EXPECT_LE(form->StepX, -11);
        EXPECT_GE(form->StepY, -40);
        EXPECT_LE(form->StepY, -11);
        EXPECT_EQ(form->PicLeft, right + form->StepX);

        form->PicLeft = 0;
        form->PicTop = -7;
        form->StepX = form->StepY = -20;
        form->tmrMove_Timer();
        EXPECT_GE(form->StepX, 11);
        EXPECT_LE(form->StepX, 40);
        EXPECT_GE(form->StepY, 11);
        EXPECT_LE(form->StepY, 40);
    }
}

TEST_F(Saver, BetweenEdgesTheStepStays) {
    auto form = Shown(1);
    form->PicLeft = 3000;
    form->PicTop = 2000;
    form->StepX = -17;
    form->StepY = 23;
    form->tmrMove_Timer();
    EXPECT_EQ(form->PicLeft, 2983);
    EXPECT_EQ(form->PicTop, 2023);
    EXPECT_EQ(form->StepX, -17);
}

TEST_F(Saver, PictureWiderThanTheWindowTakesThePositiveStepAtTheLeft) {
    StorePath(WritePicture("wide.bmp", static_cast<int>(ui::screen::WidthTwips() / 15) + 100, 50));
    auto form = Shown(4);
    form->PicLeft = 0;
    form->tmrMove_Timer();
    EXPECT_GT(form->StepX, 0);
    form->PicLeft = 30;
    form->tmrMove_Timer();
    EXPECT_LT(form->StepX, 0);
}

TEST_F(Saver, NothingMovesForTypesOutsideOneToFour) {
    auto form = Shown(7);
    for (int i = 0; i < 5; ++i)
        form->tmrMove_Timer();
    EXPECT_EQ(form->PicLeft, 0);
    EXPECT_EQ(form->StepX, 0);
}

TEST_F(Saver, HiddenPictureKeepsItsPlaceWhileThePositionRunsOn) {
    auto form = Shown(1);
    form->picClock.SetVisible(false);
    form->tmrMove_Timer();
    EXPECT_GT(form->PicLeft, 0);
    EXPECT_EQ(form->picClock.Left(), 2625);
}

} // namespace
