// The Linux settings file as a person edits it: values come back as written, a write changes
// only its own line, and Qt's own settings reader reads what the program writes.

#include "startup/modMain.h"
#include "support/StandIns.h"
#include "ui/Settings.h"
#include "ui/qt/IniText.h"

#include <QCoreApplication>
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

// Two lines of one key: the last counts, as in Qt's reader, and a write leaves only one.
TEST(IniText, TheLastOfTwoLinesCountsAndAWriteLeavesOne) {
    EXPECT_EQ(ui::ini::Find("[General]\na=1\na=2\n", "a"), "2");
    EXPECT_EQ(ui::ini::WithValue("[General]\na=1\na=2\n", "a", "3"), "[General]\na=3\n");
    EXPECT_EQ(ui::ini::WithValue("a=0\r\n[General]\nb=1\na=1\n[x]\na=x\n[general]\na=2", "a", "3"),
              "[General]\nb=1\n[x]\na=x\n[general]\na=3");
    EXPECT_EQ(ui::ini::WithValue("", "a", "1"), "[General]\na=1\n");
    EXPECT_EQ(ui::ini::WithValue("x=0", "a", "1"), "x=0\na=1\n");
}

// What Qt's reader makes of lines a person wrote: a byte-order mark, comments, the section's
// name in any case and with blanks.
TEST(IniText, HandWrittenLinesAreReadAsQtReadsThem) {
    using ui::ini::Find;
    EXPECT_EQ(Find("\xEF\xBB\xBFScreen%20Saver%20Type=4\n", "Screen Saver Type"), "4");
    EXPECT_EQ(Find("[General] ; edited by hand\na=4\n", "a"), "4");
    EXPECT_EQ(Find("[Other]\na=1\n  [ general ]\na=4\n", "a"), "4");
    EXPECT_EQ(Find("[Other]\na=1\n[%General]\na=2\n", "a"), std::nullopt);
    EXPECT_EQ(Find("a=4 ; the lips\n;a=5\n  ; a=6\n", "a"), "4");
    EXPECT_EQ(Find("a=\"x;y\" ; quoted\nb=c\\;d\n", "a"), "x;y");
    EXPECT_EQ(Find("b=c\\;d\n", "b"), "c\\;d");
    // A write keeps the mark first and adds no section of its own beside the user's.
    EXPECT_EQ(ui::ini::WithValue("\xEF\xBB\xBF"
                                 "a=4\n",
                                 "b", "1"),
              "\xEF\xBB\xBF"
              "a=4\nb=1\n");
    EXPECT_EQ(ui::ini::WithValue("[General] ; mine\na=4\n", "a", "2"), "[General] ; mine\na=2\n");
    EXPECT_EQ(ui::ini::WithValue("\xEF\xBB\xBF[Other]\nx=1\n", "a", "1"),
              "\xEF\xBB\xBF[General]\na=1\n\n[Other]\nx=1\n");
}

// The two files people reported: the user's choice is read and kept, never doubled.
TEST_F(SettingsFile, AnEditorsFileKeepsTheUsersChoice) {
    for (const std::string& before :
         {std::string("\xEF\xBB\xBFScreen%20Saver%20Type=4\n"),
          std::string("[General] ; edited by hand\nScreen%20Saver%20Type=4\n")}) {
        Write(before);
        EXPECT_EQ(GetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "1"), "4");
        EXPECT_EQ(GetRegKey(HKeyCurrentUser, SettingsKey, "Preview", "False"), "False");
        const std::string after = Read();
        EXPECT_EQ(after.rfind(before, 0), 0u) << after;
        std::size_t lines = 0;
        for (std::size_t at = after.find("Type="); at != std::string::npos;
             at = after.find("Type=", at + 1))
            ++lines;
        EXPECT_EQ(lines, 1u) << after;
        EXPECT_EQ(after.find("[General]", 1), std::string::npos) << after;
        EXPECT_TRUE(messages.empty());
    }
}

// Settings kept with the user's other files: the write goes through the link to its target.
TEST_F(SettingsFile, ALinkedFileStaysALink) {
    const QString elsewhere = QDir::tempPath() + "/moondial-dotfiles-" +
                              QString::number(QCoreApplication::applicationPid());
    QDir(elsewhere).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    QFile target(elsewhere + "/Moondial.conf");
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.write("[General]\nScreen%20Saver%20Type=3\n");
    target.close();
    QDir().mkpath(QFileInfo(Path()).path());
    ASSERT_TRUE(QFile::link(target.fileName(), Path()));

    EXPECT_EQ(GetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "1"), "3");
    SetRegKey(HKeyCurrentUser, SettingsKey, "Custom Graphic Path", "/pictures/moon.jpg");
    EXPECT_TRUE(QFileInfo(Path()).isSymLink());
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(),
              "[General]\nScreen%20Saver%20Type=3\nCustom%20Graphic%20Path=/pictures/moon.jpg\n");
    target.close();
    EXPECT_TRUE(messages.empty());
    QFile::remove(Path());
    QDir(elsewhere).removeRecursively();
}

// The highest the resident memory has been since the last reset, in bytes.
long long PeakSinceReset() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toLongLong() * 1024;
    return -1;
}

// A file of 60 MB of empty lines, under the size limit: read and written at a cost near its size.
TEST_F(SettingsFile, AHugeFileCostsMemoryNearItsSize) {
    constexpr long long Size = 60LL * 1024 * 1024;
    std::string text(static_cast<std::size_t>(Size), '\n');
    Write(text.append("Preview=True\n"));
    QFile reset(QStringLiteral("/proc/self/clear_refs"));
    if (!reset.open(QIODevice::WriteOnly) || reset.write("5") != 1)
        GTEST_SKIP() << "the peak of resident memory cannot be reset here";
    reset.close();
    const long long before = testing_support::ResidentBytes();
    EXPECT_EQ(GetRegKey(HKeyCurrentUser, SettingsKey, "Preview", "False"), "True");
    EXPECT_EQ(GetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "1"), "1");
    const long long growth = PeakSinceReset() - before;
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Stored("Screen Saver Type"), "1");
    if (!testing_support::Sanitized) {
        EXPECT_LT(growth, 4 * Size) << growth / (1024 * 1024) << " MB for a file of 60 MB";
    }
}

} // namespace

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

class BrokenStore : public SettingsFile {
protected:
    static QString Folder() { return QFileInfo(Path()).path(); }
    std::size_t ReportsFor(const std::string& routine) const {
        std::size_t count = 0;
        for (const auto& m : messages)
            count += m.text.find("   Routine Name : " + routine + "\r\n") != std::string::npos;
        return count;
    }
};

// A file where the settings folder belongs: neither read nor written, each said once, and the
// file stays as it was.
TEST_F(BrokenStore, AFileWhereTheFolderBelongs) {
    QDir(Folder()).removeRecursively();
    QFile blocker(Folder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.write("mine");
    blocker.close();
    EXPECT_EQ(GetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "1"), "");
    EXPECT_EQ(ReportsFor("Public Sub GetRegKey"), 1u);
    SetRegKey(HKeyCurrentUser, SettingsKey, "Preview", "False");
    EXPECT_EQ(ReportsFor("Public Sub SetRegKey"), 1u);
    QFile check(Folder());
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), "mine");
    check.close();
    QFile::remove(Folder());
}

// A write that cannot take the lock is a failed write, not one without the lock.
TEST_F(BrokenStore, NoLockNoWrite) {
    SetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "3");
    const std::string before = Read();
    for (const bool link : {false, true}) {
        const QString lock = Path() + ".lock";
        QFile::remove(lock);
        ASSERT_TRUE(link ? QFile::link(Folder(), lock) : QDir().mkpath(lock));
        SetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "2");
        EXPECT_EQ(ReportsFor("Public Sub SetRegKey"), link ? 2u : 1u);
        EXPECT_EQ(Read(), before);
        link ? QFile::remove(lock) : QDir(lock).removeRecursively();
    }
    SetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "2");
    EXPECT_EQ(Stored("Screen Saver Type"), "2");
}

TEST_F(BrokenStore, AFileOfGarbageIsKeptAndTheValuesGoBesideIt) {
    std::string garbage = "\x7f"
                          "ELF\x01\x02\x00\xff\xfe\n\x00\x00[Gen\neral]\n=\n==\n";
    garbage += std::string(1000, '\xc3');
    Write(garbage);
    EXPECT_EQ(GetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "1"), "1");
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Read().substr(0, garbage.size()), garbage);
    EXPECT_EQ(Stored("Screen Saver Type"), "1");
}

// Hand edits of every kind come back as written: a path of a megabyte, control characters,
// bytes that are no UTF-8.
TEST_F(BrokenStore, StrangeHandEditsComeBackAsWritten) {
    const std::string long_path = "/" + std::string(1024 * 1024, 'x');
    const std::string odd = "a\x01\x02\tb\x7f\xff\xfe\xc3(";
    Write("[General]\nCustom Graphic Path=" + long_path + "\nPreview=" + odd + "\n");
    EXPECT_EQ(GetRegKey(HKeyCurrentUser, SettingsKey, "Custom Graphic Path", "N/A"), long_path);
    EXPECT_EQ(GetRegKey(HKeyCurrentUser, SettingsKey, "Preview", "False"), odd);
    SetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "3");
    EXPECT_EQ(Stored("Custom Graphic Path"), long_path);
    EXPECT_EQ(Stored("Preview"), odd);
    EXPECT_TRUE(messages.empty());
}

// A file system of its own for the settings folder, in a mount namespace of this test's
// process only. Needs the right to mount (root, as CI runs).
class OwnFileSystem : public BrokenStore {
protected:
    void SetUp() override {
        BrokenStore::SetUp();
        QDir().mkpath(Folder());
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            GTEST_SKIP() << "no right to mount here";
        mounted_ = mount("tmpfs", Folder().toLocal8Bit().constData(), "tmpfs", 0, "size=64k") == 0;
        if (!mounted_)
            GTEST_SKIP() << "no tmpfs";
    }
    void TearDown() override {
        if (mounted_)
            umount2(Folder().toLocal8Bit().constData(), MNT_DETACH);
        BrokenStore::TearDown();
    }
    bool mounted_ = false;
};

TEST_F(OwnFileSystem, AFullDiskLosesNoValue) {
    SetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "2");
    SetRegKey(HKeyCurrentUser, SettingsKey, "Custom Graphic Path", "/pictures/moon.jpg");
    const std::string before = Read();
    // Fill what is left.
    QFile filler(Folder() + "/filler");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
    SetRegKey(HKeyCurrentUser, SettingsKey, "Custom Graphic Path", std::string(60000, 'p'));
    EXPECT_EQ(ReportsFor("Public Sub SetRegKey"), 1u);
    EXPECT_EQ(Read(), before);
    EXPECT_EQ(Stored("Custom Graphic Path"), "/pictures/moon.jpg");
    // Nothing half-written is left beside it.
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              QStringList({"Moondial.conf", "Moondial.conf.lock", "filler"}));
}

TEST_F(OwnFileSystem, AReadOnlyFileSystemIsReadButNotWritten) {
    SetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "3");
    ASSERT_EQ(mount(nullptr, Folder().toLocal8Bit().constData(), nullptr, MS_REMOUNT | MS_RDONLY,
                    nullptr),
              0);
    EXPECT_EQ(GetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "1"), "3");
    EXPECT_TRUE(messages.empty());
    // A missing value cannot be stored with its default: said, and the empty text.
    EXPECT_EQ(GetRegKey(HKeyCurrentUser, SettingsKey, "Preview", "False"), "");
    EXPECT_EQ(ReportsFor("Public Sub GetRegKey"), 1u);
    SetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "1");
    EXPECT_EQ(ReportsFor("Public Sub SetRegKey"), 1u);
    EXPECT_EQ(Stored("Screen Saver Type"), "3");
}

} // namespace
