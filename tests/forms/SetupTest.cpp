// The setup dialog and the About box on the real Qt forms, offscreen, against the real
// settings store; only the person, the Open dialog and the browser are stand-ins.

#include "setup/frmSetup.h"
#include "startup/modMain.h"
#include "support/StandIns.h"
#include "support/WidgetOf.h"
#include "ui/Application.h"
#include "ui/Error.h"
#include "ui/FormList.h"
#include "ui/Screen.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using testing_support::Stored;

class Setup : public testing_support::OutsideWorldTest {
protected:
    void Store(const std::string& name, const std::string& value) {
        modMain::SetRegKey(modMain::HKeyCurrentUser, modMain::SettingsKey, name, value);
    }

    std::unique_ptr<frmSetup> Opened() {
        auto dialog = std::make_unique<frmSetup>();
        dialog->Show();
        return dialog;
    }

    // The selected option's index; -1 when none is.
    static int Selected(const frmSetup& d) {
        for (int i = 0; i < 4; ++i)
            if (d.optScreenSaver[i].Value())
                return i;
        return -1;
    }

    static bool PathControlsShow(const frmSetup& d) {
        const bool label = d.lbl0.Visible(), box = d.txtFullPath.Visible(),
                   browse = d.cmdBrowse.Visible();
        EXPECT_TRUE(label == box && box == browse) << "shown and hidden together";
        return label;
    }

    // Closes by the close box, which saves as Exit does; true when the program ended.
    bool CloseBox(frmSetup& d) {
        ends = 0;
        testing_support::WidgetOf(d.Form)->close();
        return ends == 1;
    }

    static QWidget* Widget(const ui::Control& control) {
        return testing_support::WidgetOf(control);
    }

    std::string Picture(const char* name, const char* format) {
        const QString path = folder.filePath(name);
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        EXPECT_TRUE(image.save(path, format));
        return path.toStdString();
    }

    QTemporaryDir folder;
};

// ---- The dialog and its load ----

TEST_F(Setup, AnEmptyStoreOpensWithTheAnalogClockAndStoresTheDefaults) {
    auto d = Opened();
    EXPECT_EQ(Selected(*d), 0);
    EXPECT_FALSE(PathControlsShow(*d));
    EXPECT_EQ(d->txtFullPath.Text(), "N/A");
    EXPECT_EQ(Stored("Screen Saver Type"), "1");
    EXPECT_EQ(Stored("Custom Graphic Path"), "N/A");
    EXPECT_TRUE(messages.empty());
}

TEST_F(Setup, TheStoredTypeSelectsItsOptionAndIsWrittenBackOnClose) {
    const struct {
        const char* stored;
        int option;
        const char* written;
    } cases[] = {{"1", 0, "1"}, {"3", 1, "3"}, {"2", 2, "2"},  {"4", 3, "4"},
                 {"0", 0, "1"}, {"5", 0, "1"}, {"-1", 0, "1"}, {" 3 ", 1, "3"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        testing_support::ClearStore();
        Store("Screen Saver Type", c.stored);
        Store("Custom Graphic Path", "/pictures/mine.gif");
        auto d = Opened();
        EXPECT_EQ(Selected(*d), c.option);
        EXPECT_EQ(PathControlsShow(*d), c.option == 3);
        EXPECT_EQ(d->txtFullPath.Text(), "/pictures/mine.gif"); // filled even while hidden
        EXPECT_TRUE(CloseBox(*d));
        EXPECT_EQ(Stored("Screen Saver Type"), c.written);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(Setup, AStoredTypeThatIsNoNumberIsReportedAndTheLoadStopsThere) {
    Store("Screen Saver Type", "abc");
    Store("Custom Graphic Path", "/pictures/mine.gif");
    auto d = Opened();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "CRITICAL ERROR");
    EXPECT_NE(messages[0].text.find("   Routine Name : Private Sub Form_Load\r\n"),
              std::string::npos);
    EXPECT_EQ(Selected(*d), 0);
    EXPECT_EQ(d->txtFullPath.Text(), "");
    EXPECT_FALSE(PathControlsShow(*d));
    EXPECT_TRUE(d->Form.Visible()); // it opens with what the steps before had done
}

TEST_F(Setup, TheWindowAndItsControlsAreWhereTheyBelong) {
    auto d = Opened();
    QWidget* window = testing_support::WidgetOf(d->Form);
    EXPECT_EQ(window->windowTitle(), "Moondial - Setup");
    EXPECT_EQ(window->size(), QSize(493, 355));
    EXPECT_TRUE(window->windowFlags() & Qt::Tool);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window->minimumSize(), window->maximumSize()); // fixed size
    EXPECT_EQ(d->Form.BackColor(), ui::Black);
    // Centred on the screen by its outer size.
    EXPECT_NEAR(d->Form.Left(), (ui::screen::WidthTwips() - d->Form.Width()) / 2, 15);
    EXPECT_NEAR(d->Form.Top(), (ui::screen::HeightTwips() - d->Form.Height()) / 2, 15);

    const struct {
        const ui::Control* control;
        QRect pixels;
        const char* caption;
    } placed[] = {
        {&d->optScreenSaver[0], {15, 170, 105, 17}, "Analog Clock"},
        {&d->optScreenSaver[1], {130, 170, 92, 17}, "Alarm Clock"},
        {&d->optScreenSaver[2], {245, 170, 92, 17}, "Lips Clock"},
        {&d->optScreenSaver[3], {15, 200, 119, 17}, "Custom Graphic"},
        {&d->lbl0, {20, 220, 83, 20}, "Full File Path"},
        {&d->txtFullPath, {20, 240, 372, 22}, nullptr},
        {&d->cmdBrowse, {400, 245, 66, 21}, "&Browse"},
        {&d->cmdAbout, {205, 305, 91, 36}, nullptr},
        {&d->cmdExit, {395, 305, 91, 36}, nullptr},
    };
    for (const auto& p : placed) {
        QWidget* w = Widget(*p.control);
        EXPECT_EQ(w->geometry(), p.pixels) << w->metaObject()->className();
        if (p.caption) {
            const QString text = qobject_cast<QAbstractButton*>(w)
                                     ? qobject_cast<QAbstractButton*>(w)->text()
                                     : qobject_cast<QLabel*>(w)->text();
            EXPECT_EQ(text.toStdString(), p.caption);
        }
    }
    EXPECT_EQ(d->Image1.Width(), 5715);
    EXPECT_EQ(d->Image1.Height(), 930);
    EXPECT_FALSE(d->picCustom.Visible());
    EXPECT_EQ(d->Line2.LineColor, ui::Rgb(255, 255, 255));

    const QFont option = Widget(d->optScreenSaver[2])->font();
    EXPECT_EQ(option.family(), "Arial");
    EXPECT_EQ(option.pointSizeF(), 9);
    EXPECT_TRUE(option.bold());
    const QFont browse = Widget(d->cmdBrowse)->font();
    EXPECT_EQ(browse.pointSizeF(), 8.25);
    EXPECT_FALSE(browse.bold());
    EXPECT_EQ(d->optScreenSaver[1].ForeColor(), ui::Rgb(255, 255, 255));
    EXPECT_EQ(d->lbl0.ForeColor(), ui::Rgb(255, 255, 255));
    EXPECT_EQ(Widget(d->txtFullPath)->palette().color(QPalette::Base), QColor(255, 255, 192));
}

TEST_F(Setup, TheDialogShowsItsBannerAndTheButtonsTheirBars) {
    auto d = Opened();
    const QImage shot = testing_support::WidgetOf(d->Form)->grab().toImage();
    // The banner's grey letters and green print, the yellow bars, the white line.
    int grey = 0, green = 0, yellow = 0;
    for (int y = 10; y < 72; ++y)
        for (int x = 10; x < 391; ++x) {
            const QColor c = shot.pixelColor(x, y);
            grey += c.red() > 100 && std::abs(c.red() - c.green()) < 12 &&
                    std::abs(c.green() - c.blue()) < 12;
            green += c.green() > 120 && c.red() < 80 && c.blue() < 80;
        }
    for (int y = 305; y < 341; ++y)
        for (int x = 205; x < 486; ++x) {
            const QColor c = shot.pixelColor(x, y);
            yellow += c.red() > 200 && c.green() > 170 && c.blue() < 120;
        }
    EXPECT_GT(grey, 500);
    EXPECT_GT(green, 50);
    EXPECT_GT(yellow, 1200);
    EXPECT_EQ(shot.pixelColor(250, 280), QColor(255, 255, 255));
}

// ---- Saver choice and custom picture ----

TEST_F(Setup, ThePathControlsFollowTheCustomPictureOption) {
    Store("Custom Graphic Path", "/pictures/mine.gif");
    auto d = Opened();
    QTest::mouseClick(Widget(d->optScreenSaver[3]), Qt::LeftButton);
    EXPECT_TRUE(PathControlsShow(*d));
    d->txtFullPath.SetText("typed");
    QTest::mouseClick(Widget(d->optScreenSaver[2]), Qt::LeftButton);
    EXPECT_EQ(Selected(*d), 2);
    EXPECT_FALSE(PathControlsShow(*d));
    QTest::mouseClick(Widget(d->optScreenSaver[3]), Qt::LeftButton);
    EXPECT_EQ(d->txtFullPath.Text(), "typed"); // the text is kept
}

TEST_F(Setup, SwitchingAwayFromTheCustomPictureWritesOnlyTheType) {
    Store("Screen Saver Type", "4");
    Store("Custom Graphic Path", "/pictures/stored.bmp");
    auto d = Opened();
    d->txtFullPath.SetText("/pictures/typed.bmp");
    QTest::mouseClick(Widget(d->optScreenSaver[1]), Qt::LeftButton);
    EXPECT_TRUE(CloseBox(*d));
    EXPECT_EQ(Stored("Screen Saver Type"), "3");
    EXPECT_EQ(Stored("Custom Graphic Path"), "/pictures/stored.bmp");
}

TEST_F(Setup, APathTypedWithBlanksAroundItIsStoredWithout) {
    auto d = Opened();
    QTest::mouseClick(Widget(d->optScreenSaver[3]), Qt::LeftButton);
    d->txtFullPath.SetText("   /my pictures/moon.jpg  ");
    ends = 0;
    EXPECT_TRUE(Ends([&] { d->cmdExit_Click(); }) || ends == 1);
    EXPECT_EQ(Stored("Screen Saver Type"), "4");
    EXPECT_EQ(Stored("Custom Graphic Path"), "/my pictures/moon.jpg");
}

TEST_F(Setup, ExitAndTheCloseBoxSaveAlike) {
    for (bool closeBox : {false, true}) {
        testing_support::ClearStore();
        auto d = Opened();
        QTest::mouseClick(Widget(d->optScreenSaver[3]), Qt::LeftButton);
        ends = 0;
        if (closeBox)
            testing_support::WidgetOf(d->Form)->close();
        else
            QTest::mouseClick(Widget(d->cmdExit), Qt::LeftButton, {}, QPoint(45, 18));
        EXPECT_EQ(ends, 1) << closeBox;
        EXPECT_EQ(Stored("Screen Saver Type"), "4");
        EXPECT_EQ(Stored("Custom Graphic Path"), "N/A");
    }
}

TEST_F(Setup, BrowseAcceptsEachOfferedKindSilently) {
    auto d = Opened();
    // Qt writes no GIF: the test's own, read as the saver reads any file.
    for (const std::string& path :
         {Picture("a.bmp", "BMP"), std::string(MOONDIAL_TEST_DATA) + "/lips.gif",
          Picture("c.jpg", "JPEG")}) {
        chosenFile = path;
        d->cmdBrowse_Click();
        EXPECT_EQ(d->txtFullPath.Text(), *chosenFile);
    }
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(fileDialogs.size(), 3u);
    EXPECT_EQ(fileDialogs[0].filter, "Graphics Files (*.bmp;*.gif;*.jpg)|*.bmp;*.gif;*.jpg");
    EXPECT_EQ(fileDialogs[0].folder, ui::app::Folder());
}

TEST_F(Setup, BrowseWarnsOfAMissingOrCorruptFileAndForgetsIt) {
    const std::string missing = folder.filePath("gone.bmp").toStdString();
    const std::string corrupt = folder.filePath("broken.jpg").toStdString();
    QFile file(QString::fromStdString(corrupt));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xFF\xD8\xFF\xE0 no picture in here");
    file.close();
    const struct {
        std::string path, text, title;
    } cases[] = {
        {missing, "Custom graphic image not found.\r\n\r\n" + missing,
         "Moondial - Custom Image Not Found"},
        {corrupt, "Custom graphic image is corrupt.\r\n\r\n" + corrupt,
         "Moondial - Custom Image Corrupt"},
    };
    auto d = Opened();
    for (const auto& c : cases) {
        messages.clear();
        chosenFile = c.path;
        d->cmdBrowse_Click();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, c.text);
        EXPECT_EQ(messages[0].title, c.title);
        EXPECT_EQ(messages[0].style, 48);
        EXPECT_EQ(d->txtFullPath.Text(), "N/A");
    }
}

TEST_F(Setup, OtherBrowseFailuresAreReportedAndThePathStays) {
    auto d = Opened();
    // A file in a folder that is not there: path not found (76) is no "not found" (53).
    const std::string nowhere = folder.filePath("no folder/moon.jpg").toStdString();
    chosenFile = nowhere;
    d->cmdBrowse_Click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("   Routine Name : Private Sub cmdBrowse_Click\r\n"),
              std::string::npos);
    EXPECT_NE(messages[0].text.find("     Error Number : 76\r\n"), std::string::npos);
    EXPECT_EQ(d->txtFullPath.Text(), nowhere);

    messages.clear();
    chosenFile = folder.path().toStdString(); // a folder is no picture file
    d->cmdBrowse_Click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("   Routine Name : Private Sub cmdBrowse_Click\r\n"),
              std::string::npos);
    EXPECT_EQ(d->txtFullPath.Text(), folder.path().toStdString());

    messages.clear();
    ui::World().ChooseFile = [](const std::string&,
                                const std::string&) -> std::optional<std::string> {
        throw ui::Error(32755, "The Open dialog failed", "Common dialog");
    };
    d->cmdBrowse_Click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("     Error Number : 32755\r\n"), std::string::npos);
}

// Cancelling once copied the dialog's stale or empty file name into the path box, so the
// stored path was lost when the dialog closed.
TEST_F(Setup, CancellingTheOpenDialogChangesNothing) {
    Store("Screen Saver Type", "4");
    Store("Custom Graphic Path", "/pictures/stored.bmp");
    auto d = Opened();
    chosenFile.reset();
    d->cmdBrowse_Click();
    EXPECT_EQ(d->txtFullPath.Text(), "/pictures/stored.bmp");
    chosenFile = Picture("first.bmp", "BMP");
    d->cmdBrowse_Click();
    d->txtFullPath.SetText("/typed/since.jpg");
    chosenFile.reset();
    d->cmdBrowse_Click();
    EXPECT_EQ(d->txtFullPath.Text(), "/typed/since.jpg");
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(CloseBox(*d));
    EXPECT_EQ(Stored("Custom Graphic Path"), "/typed/since.jpg");
}

// ---- The buttons and the About box ----

TEST_F(Setup, TheButtonsAreClippedToTheirRoundedBars) {
    auto d = Opened();
    for (const ui::PictureButton* button : {&d->cmdAbout, &d->cmdExit}) {
        const QRegion mask = Widget(*button)->mask();
        EXPECT_TRUE(mask.contains(QPoint(45, 18)));
        EXPECT_TRUE(mask.contains(QPoint(10, 17)));
        for (const QPoint corner : {QPoint(3, 4), QPoint(88, 4), QPoint(3, 29), QPoint(88, 29),
                                    QPoint(2, 17), QPoint(45, 3), QPoint(89, 17), QPoint(45, 30)})
            EXPECT_FALSE(mask.contains(corner)) << corner.x() << "," << corner.y();
    }
}

TEST_F(Setup, AClickInAClippedCornerOfExitDoesNothing) {
    auto d = Opened();
    QWidget* window = testing_support::WidgetOf(d->Form);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const QPoint corner = Widget(d->cmdExit)->geometry().topLeft() + QPoint(4, 5);
    QWidget* under = window->childAt(corner);
    EXPECT_NE(under, Widget(d->cmdExit));
    QTest::mouseClick(under ? under : window, Qt::LeftButton, {},
                      under ? under->mapFrom(window, corner) : corner);
    EXPECT_EQ(ends, 0);
    EXPECT_TRUE(d->Form.Visible());
}

TEST_F(Setup, AboutAndBackKeepTheSelectionAndThePath) {
    Store("Screen Saver Type", "4");
    auto d = Opened();
    d->txtFullPath.SetText("/typed/here.gif");
    for (bool closeBox : {false, true}) {
        QTest::mouseClick(Widget(d->cmdAbout), Qt::LeftButton, {}, QPoint(45, 18));
        ASSERT_TRUE(d->About);
        EXPECT_FALSE(d->Form.Visible());
        EXPECT_TRUE(d->About->Form.Visible());
        if (closeBox)
            testing_support::WidgetOf(d->About->Form)->close();
        else
            QTest::mouseClick(Widget(d->About->cmdExit), Qt::LeftButton);
        EXPECT_FALSE(d->About->Form.Visible());
        EXPECT_TRUE(d->Form.Visible()) << closeBox;
        EXPECT_EQ(Selected(*d), 3);
        EXPECT_EQ(d->txtFullPath.Text(), "/typed/here.gif");
    }
    EXPECT_EQ(ends, 0);
    EXPECT_TRUE(messages.empty());
}

// The box is loaded afresh each time it opens: OK has the focus again, wherever it was.
TEST_F(Setup, EachOpeningOfTheAboutBoxStartsAtOK) {
    auto d = Opened();
    d->cmdAbout_Click();
    QWidget* about = testing_support::WidgetOf(d->About->Form);
    Widget(d->About->cmdNavitgate)->setFocus();
    ASSERT_EQ(about->focusWidget(), Widget(d->About->cmdNavitgate));
    d->About->cmdExit_Click();
    d->cmdAbout_Click();
    EXPECT_NE(about->focusWidget(), Widget(d->About->cmdNavitgate));
    EXPECT_TRUE(d->About->cmdExit.HasFocus() || about->focusWidget() == nullptr ||
                about->focusWidget() == Widget(d->About->cmdExit));
}

// Logging off with the dialog open stores the choice, as closing it does; the About box, open
// at that moment, brings nothing back.
TEST_F(Setup, TheEndOfTheSessionStoresTheChoice) {
    for (const bool aboutOpen : {false, true}) {
        ui::app::ReleaseWindows();
        testing_support::ClearStore();
        auto d = Opened();
        QTest::mouseClick(Widget(d->optScreenSaver[2]), Qt::LeftButton);
        ASSERT_EQ(Selected(*d), 2);
        if (aboutOpen)
            d->cmdAbout_Click();
        EXPECT_TRUE(Ends([] { ui::forms::EndSession(); })) << aboutOpen;
        EXPECT_EQ(Stored("Screen Saver Type"), "2") << aboutOpen;
        if (aboutOpen) {
            EXPECT_FALSE(d->Form.Visible()); // the box did not bring the dialog back
        }
        EXPECT_FALSE(ui::forms::SessionEnding());
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(Setup, TheAboutBoxShowsTheVersionAndItsControls) {
    auto d = Opened();
    d->cmdAbout_Click();
    frmAbout& about = *d->About;
    QWidget* window = testing_support::WidgetOf(about.Form);
    EXPECT_EQ(window->windowTitle(), "Moondial - About");
    EXPECT_EQ(window->size(), QSize(602, 299));
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window->windowFlags() & Qt::Tool);
    EXPECT_EQ(about.lbl1.Caption(), "2.01");
    EXPECT_EQ(about.lbl0.Caption(), "Version");
    EXPECT_EQ(about.lbl0.ForeColor(), ui::Rgb(0, 0, 255));
    EXPECT_EQ(about.cmdNavitgate.ToolTip(), "Navigate to the Moondial Home Page");
    EXPECT_EQ(Widget(about.cmdNavitgate)->geometry(), QRect(225, 140, 57, 41));
    EXPECT_EQ(Widget(about.cmdExit)->geometry(), QRect(455, 240, 125, 25));
    EXPECT_EQ(about.Image1.Width(), 3075);
    EXPECT_EQ(about.Image2.Width(), 5715);
    EXPECT_FALSE(about.lblCopyright.Caption().empty());
    EXPECT_GT(about.lblDisclaimer.Caption().size(), 80u);
    EXPECT_EQ(about.Line1_0.WidthPixels, 2);
    EXPECT_TRUE(about.cmdExit.HasFocus() || QApplication::focusWidget() == nullptr);
}

TEST_F(Setup, EveryGlobeClickOpensTheHomePageAndAFailureIsTriedOnceMore) {
    auto d = Opened();
    d->cmdAbout_Click();
    QTest::mouseClick(Widget(d->About->cmdNavitgate), Qt::LeftButton);
    QTest::mouseClick(Widget(d->About->cmdNavitgate), Qt::LeftButton);
    EXPECT_EQ(addressesOpened,
              std::vector<std::string>(2, "http://www.quillon.example/moondial.html"));
    addressesOpened.clear();
    browserOpens = false;
    d->About->cmdNavitgate_Click();
    EXPECT_EQ(addressesOpened.size(), 2u);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Setup, AFailureInTheAboutBoxsLoadLandsInTheAboutButtonsReport) {
    auto d = Opened();
    d->About.emplace(d->Form);
    d->About->Form.OnLoad = [] { throw ui::Error(7, "Out of memory"); };
    d->cmdAbout_Click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("   Routine Name : Private Sub cmdAbout_Click\r\n"),
              std::string::npos);
    // Nothing would be left to close with the dialog hidden and no box: it comes back.
    EXPECT_TRUE(d->Form.Visible());
    EXPECT_EQ(ends, 0);
}

// ---- The keyboard, as in any dialog ----

TEST_F(Setup, TheKeyboardWorksAsInAnyDialog) {
    auto d = Opened();
    QWidget* window = testing_support::WidgetOf(d->Form);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    Widget(d->optScreenSaver[0])->setFocus();
    QTest::keyClick(Widget(d->optScreenSaver[0]), Qt::Key_Right);
    EXPECT_EQ(Selected(*d), 1);
    // On in the options' order, not to the one below: the first row's last, then the second row.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(Selected(*d), 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(Selected(*d), 3);
    EXPECT_TRUE(PathControlsShow(*d)); // an arrow's selection is a click too
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(d->txtFullPath.HasFocus());

    chosenFile.reset();
    d->cmdBrowse.SetFocus();
    QTest::keyClick(Widget(d->cmdBrowse), Qt::Key_Return);
    QTest::keyClick(Widget(d->cmdBrowse), Qt::Key_Space);
    EXPECT_EQ(fileDialogs.size(), 2u); // Alt+B: on the real display, in the end-to-end script

    d->cmdExit.SetFocus();
    ends = 0;
    QTest::keyClick(Widget(d->cmdExit), Qt::Key_Return);
    EXPECT_EQ(ends, 1);
}

// ---- What a screen reader reads ----

// A control as assistive technology sees it, through the interface Qt gives it.
struct Read {
    QAccessible::Role role;
    std::string name;
    bool focusable, shown;
    std::string labelledBy; // the first label naming it, if any
};

std::vector<Read> ReadControls(QWidget* window) {
    std::vector<Read> read;
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface* child = root->child(i);
        Read control{child->role(),
                     child->text(QAccessible::Name).toStdString(),
                     child->state().focusable != 0,
                     child->state().invisible == 0,
                     {}};
        const auto labels = child->relations(QAccessible::Label);
        if (!labels.empty())
            control.labelledBy = labels.front().first->text(QAccessible::Name).toStdString();
        read.push_back(control);
    }
    return read;
}

// Every control a user can reach has a name and a role; the pictures that only decorate are
// passed over.
void ExpectEveryStopNamed(QWidget* window) {
    for (const Read& control : ReadControls(window)) {
        if (control.focusable) {
            EXPECT_FALSE(control.name.empty()) << "a nameless stop, role " << control.role;
            EXPECT_NE(control.role, QAccessible::Client) << control.name;
        } else if (control.role == QAccessible::Client) {
            EXPECT_TRUE(control.name.empty()) << control.name;
        }
    }
}

const Read* Named(const std::vector<Read>& controls, const std::string& name) {
    for (const Read& control : controls)
        if (control.name == name)
            return &control;
    return nullptr;
}

TEST_F(Setup, AScreenReaderReadsTheDialogAsItLooks) {
    Store("Screen Saver Type", "4");
    auto d = Opened();
    QWidget* window = testing_support::WidgetOf(d->Form);
    QAccessibleInterface* dialog = QAccessible::queryAccessibleInterface(window);
    EXPECT_EQ(dialog->role(), QAccessible::Dialog);
    EXPECT_EQ(dialog->text(QAccessible::Name), "Moondial - Setup");
    ExpectEveryStopNamed(window);

    const auto controls = ReadControls(window);
    for (const char* name : {"Analog Clock", "Alarm Clock", "Lips Clock", "Custom Graphic"}) {
        const Read* option = Named(controls, name);
        ASSERT_TRUE(option) << name;
        EXPECT_EQ(option->role, QAccessible::RadioButton);
    }
    const Read* path = nullptr;
    for (const Read& control : controls)
        if (control.role == QAccessible::EditableText)
            path = &control;
    ASSERT_TRUE(path);
    EXPECT_EQ(path->name, "Full File Path");
    EXPECT_EQ(path->labelledBy, "Full File Path");
    for (const char* name : {"Browse", "About", "Exit"}) {
        const Read* button = Named(controls, name);
        ASSERT_TRUE(button) << name;
        EXPECT_EQ(button->role, QAccessible::Button);
        EXPECT_TRUE(button->focusable && button->shown) << name;
    }
    // The banner: shown, but no stop.
    QAccessibleInterface* banner =
        QAccessible::queryAccessibleInterface(testing_support::WidgetOf(d->Image1));
    EXPECT_FALSE(banner->state().focusable);
    EXPECT_TRUE(banner->text(QAccessible::Name).isEmpty());
    // Nothing is drawn differently for it.
    EXPECT_EQ(testing_support::WidgetOf(d->cmdExit)->size(), QSize(91, 36));
}

// The selected option holds the focus when the dialog opens, as it does on Windows, so a reader
// first tells the choice already made; a click on the banner leaves the focus where it was.
TEST_F(Setup, TheDialogOpensWithTheFocusOnTheSelectedOption) {
    for (const int type : {1, 2, 4}) {
        ui::app::ReleaseWindows();
        Store("Screen Saver Type", std::to_string(type));
        auto d = Opened();
        QWidget* window = testing_support::WidgetOf(d->Form);
        const int option = *setup::OptionOfSaverType(type);
        EXPECT_EQ(window->focusWidget(), Widget(d->optScreenSaver[option])) << type;
        QTest::mouseClick(testing_support::WidgetOf(d->Image1), Qt::LeftButton);
        EXPECT_EQ(window->focusWidget(), Widget(d->optScreenSaver[option])) << type;
    }
}

TEST_F(Setup, AScreenReaderReadsTheAboutBoxAsItLooks) {
    auto d = Opened();
    d->cmdAbout_Click();
    frmAbout& about = *d->About;
    QWidget* window = testing_support::WidgetOf(about.Form);
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(window);
    EXPECT_EQ(box->role(), QAccessible::Dialog);
    EXPECT_EQ(box->text(QAccessible::Name), "Moondial - About");
    ExpectEveryStopNamed(window);
    const auto controls = ReadControls(window);
    for (const char* name : {"OK", "Navigate to the Moondial Home Page"}) {
        const Read* button = Named(controls, name);
        ASSERT_TRUE(button) << name;
        EXPECT_EQ(button->role, QAccessible::Button);
        EXPECT_TRUE(button->focusable) << name;
    }
    EXPECT_EQ(window->focusWidget(), Widget(about.cmdExit));
    for (const ui::PictureBox* picture : {&about.Image1, &about.Image2}) {
        QAccessibleInterface* read =
            QAccessible::queryAccessibleInterface(testing_support::WidgetOf(*picture));
        EXPECT_FALSE(read->state().focusable);
        EXPECT_TRUE(read->text(QAccessible::Name).isEmpty());
    }
    // The keyboard reaches the globe and presses it, as a click does.
    QTest::keyClick(Widget(about.cmdExit), Qt::Key_Tab);
    EXPECT_EQ(window->focusWidget(), Widget(about.cmdNavitgate));
    QTest::keyClick(Widget(about.cmdNavitgate), Qt::Key_Space);
    EXPECT_EQ(addressesOpened.size(), 1u);
}

} // namespace
