// The Linux settings file as a person edits it: values come back as written, a write changes
// only its own line, and Qt's own settings reader reads what the program writes.

#include "startup/modMain.h"
#include "support/StandIns.h"
#include "ui/Settings.h"
#include "ui/qt/IniText.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

using modMain::GetRegKey;
using modMain::HKeyCurrentUser;
using modMain::SetRegKey;
using modMain::SettingsKey;
using testing_support::Stored;

class SettingsFile : public testing_support::OutsideWorldTest {
protected:
    static QString Path() {
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               "/Quillon/Moondial.conf";
    }
    static void Write(const std::string& text) {
        QDir().mkpath(QFileInfo(Path()).path());
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.data(), static_cast<qint64>(text.size()));
    }
    static std::string Read() {
        QFile file(Path());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll().toStdString();
    }
};

TEST_F(SettingsFile, HandEditedValuesComeBackAsWritten) {
    Write("[General]\n"
          "Custom Graphic Path=/home/me/My Pictures/a, b,  c.jpg\n"
          "Screen Saver Type = @Invalid()\n"
          "Preview=@Variant(\\0\\0\\0\\x1)\n");
    EXPECT_EQ(Stored("Custom Graphic Path"), "/home/me/My Pictures/a, b,  c.jpg");
    EXPECT_EQ(Stored("Screen Saver Type"), "@Invalid()");
    EXPECT_EQ(Stored("Preview"), "@Variant(\\0\\0\\0\\x1)");
    // A value that exists is never replaced by the default, whatever its content.
    EXPECT_EQ(GetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "1"), "@Invalid()");
    EXPECT_TRUE(messages.empty());
}

TEST_F(SettingsFile, AWriteChangesOnlyItsOwnLine) {
    const std::string before = "; my notes\r\n"
                               "[General]\r\n"
                               "Custom%20Graphic%20Path=/pics/x, y.gif\r\n"
                               "Preview=True\r\n"
                               "\r\n"
                               "[Other]\r\n"
                               "kept=as it was\r\n";
    Write(before);
    SetRegKey(HKeyCurrentUser, SettingsKey, "Preview", "False");
    SetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "3");
    EXPECT_EQ(Read(), "; my notes\r\n"
                      "[General]\r\n"
                      "Custom%20Graphic%20Path=/pics/x, y.gif\r\n"
                      "Preview=False\r\n"
                      "Screen%20Saver%20Type=3\n"
                      "\r\n"
                      "[Other]\r\n"
                      "kept=as it was\r\n");
    EXPECT_EQ(Stored("Custom Graphic Path"), "/pics/x, y.gif");
}

TEST_F(SettingsFile, ValuesOfOtherSectionsAndOfNoKeyAreNotTheProgramsValues) {
    Write("[Other]\nPreview=True\n[General]\nnot a value line\nScreen Saver Type=2\n");
    EXPECT_FALSE(Stored("Preview"));
    EXPECT_EQ(Stored("Screen Saver Type"), "2");
    SetRegKey(HKeyCurrentUser, SettingsKey, "Preview", "False");
    EXPECT_EQ(Read(), "[Other]\nPreview=True\n[General]\nnot a value line\nScreen Saver "
                      "Type=2\nPreview=False\n");
}

// The file stays one that Qt's own settings read the same way, for texts a person might pick.
TEST_F(SettingsFile, QtsOwnReaderReadsWhatTheProgramWrites) {
    const std::string texts[] = {
        "/home/me/My Pictures/sunset, evening; 2.jpg",
        "  blanks around  ",
        "@Variant(start)",
        "\"quoted\" = back\\slash",
        "tab\tnew\nline\x01"
        "1",
        "N\xC3\xA4he \xE2\x98\xBE",
        "",
    };
    for (const std::string& text : texts) {
        SetRegKey(HKeyCurrentUser, SettingsKey, "Custom Graphic Path", text);
        QSettings qt(Path(), QSettings::IniFormat);
        EXPECT_EQ(qt.value("Custom Graphic Path").toString().toStdString(), text);
        EXPECT_EQ(Stored("Custom Graphic Path"), text);
    }
}

TEST(IniText, EscapesReadBackExactly) {
    for (const std::string text : {"plain", "a,b", "=;", " x", "x ", "\\\"",
                                   "\x7f\x01"
                                   "f",
                                   "@@twice", "\xFF\xFE bytes"})
        EXPECT_EQ(ui::ini::UnescapedValue(ui::ini::EscapedValue(text)), text);
    EXPECT_EQ(ui::ini::UnescapedValue("\"\\x263e moon\""), "\xE2\x98\xBE moon");
    EXPECT_EQ(ui::ini::UnescapedValue("\"\\101\\n\""), "A\n");
    EXPECT_EQ(ui::ini::UnescapedValue("C:\\new\\table"), "C:\\new\\table"); // unquoted: as typed
}

TEST(IniText, TheLastOfTwoLinesCounts) {
    EXPECT_EQ(ui::ini::Find("[General]\na=1\na=2\n", "a"), "2");
    EXPECT_EQ(ui::ini::WithValue("[General]\na=1\na=2\n", "a", "3"), "[General]\na=1\na=3\n");
    EXPECT_EQ(ui::ini::WithValue("", "a", "1"), "[General]\na=1\n");
    EXPECT_EQ(ui::ini::WithValue("x=0", "a", "1"), "x=0\na=1\n");
}

} // namespace
