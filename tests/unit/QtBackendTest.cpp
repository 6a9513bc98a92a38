// What only the Qt backend has: its instance mark in a shared folder, timers that sleep while
// the display is off and share their wakeups, art decoded only at the scales it is drawn at.

#include "support/HeapInUse.h"
#include "support/StandIns.h"
#include "ui/Form.h"
#include "ui/InstanceMark.h"
#include "ui/Picture.h"
#include "ui/qt/Impl.h"
#include "ui/qt/Picture.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

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

// Every drawing of the saver's three faces was decoded at the start, 1.9 MB of pixels at 100%
// that only a display at 150% or 200% draws.
TEST(QtArt, ThePictureHoldsOnlyTheDrawingsItIsDrawnAt) {
    constexpr std::int64_t Own = 222 * 136 * 4, Double = 444 * 272 * 4; // the lips at 1x, 2x
    const std::int64_t start = testing_support::HeapInUse();
    const ui::Picture lips = ui::ResourcePicture("lips");
    EXPECT_EQ(lips.WidthPixels(), 222);
    EXPECT_EQ(lips.HeightPixels(), 136);
    EXPECT_LT(testing_support::HeapInUse() - start, Own / 2); // its size, not its pixels

    const auto drawAt = [&](double scale) {
        QImage target(static_cast<int>(222 * scale), static_cast<int>(136 * scale),
                      QImage::Format_RGB32);
        target.setDevicePixelRatio(scale);
        target.fill(Qt::black);
        QPainter painter(&target);
        ui::DrawPicture(painter, lips, QPointF(0, 0));
        painter.end();
        return target;
    };
    const QImage atOne = drawAt(1.0);
    EXPECT_NE(atOne.pixel(111, 68), QColor(Qt::black).rgb());
    const std::int64_t drawnAtOne = testing_support::HeapInUse() - start;
    EXPECT_LT(drawnAtOne, Own * 3); // its own drawing and the target, no larger one
    drawAt(2.0);
    EXPECT_GT(testing_support::HeapInUse() - start, drawnAtOne + Double / 2);
}
