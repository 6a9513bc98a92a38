// The instance mark where the user has no runtime folder of their own.

#include "ui/InstanceMark.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Without a runtime folder of the user's own, the mark lies in the shared temporary folder.
class SharedLockFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"))
            savedRuntime = runtime;
        if (const char* tmp = std::getenv("TMPDIR"))
            savedTmp = tmp;
        unsetenv("XDG_RUNTIME_DIR");
        setenv("TMPDIR", folder.path().toLocal8Bit().constData(), 1);
    }
    void TearDown() override {
        savedRuntime ? setenv("XDG_RUNTIME_DIR", savedRuntime->c_str(), 1)
                     : unsetenv("XDG_RUNTIME_DIR");
        savedTmp ? setenv("TMPDIR", savedTmp->c_str(), 1) : unsetenv("TMPDIR");
    }
    std::string LockFile() const {
        return folder.filePath(QStringLiteral("moondial-%1.lock").arg(getuid())).toStdString();
    }

    QTemporaryDir folder;
    std::optional<std::string> savedRuntime, savedTmp;
};

TEST_F(SharedLockFolder, ALinkPlacedWhereTheMarkGoesIsNotFollowed) {
    const std::string target = folder.filePath("elsewhere").toStdString();
    ASSERT_EQ(symlink(target.c_str(), LockFile().c_str()), 0);
    const ui::InstanceMark mark;
    EXPECT_TRUE(mark.Held());
    EXPECT_FALSE(std::filesystem::exists(target));
}

// Another user who made the file first and holds a lock on it must not keep our saver from
// ever starting.
TEST_F(SharedLockFolder, AFileOfAnotherUserIsNotOurMark) {
    const int fd = open(LockFile().c_str(), O_RDWR | O_CREAT, 0666);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX), 0); // held on the other user's side
    if (fchown(fd, getuid() + 4242, static_cast<gid_t>(-1)) != 0) {
        close(fd);
        GTEST_SKIP() << "only root can give a file to another user";
    }
    {
        const ui::InstanceMark mark;
        EXPECT_TRUE(mark.Held());
    }
    close(fd);
}

TEST_F(SharedLockFolder, OurOwnMarkStillTellsOfAnotherInstance) {
    const ui::InstanceMark first;
    const ui::InstanceMark second;
    EXPECT_TRUE(first.Held());
    EXPECT_FALSE(second.Held());
}

} // namespace
