#include "ui/InstanceMark.h"

#include <QDir>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ui {

// An exclusive lock on a file in the user's runtime folder; the kernel drops it with the process.
struct InstanceMark::Handle {
    int fd = -1;
    bool held = false;
    ~Handle() {
        if (fd >= 0)
            ::close(fd);
    }
};

namespace {

std::string LockPath(InstanceMark::Of holders) {
    // Read directly: Qt's own lookup warns on every start where the variable is unset.
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::tempPath();
    const auto name = holders == InstanceMark::Of::Saver ? QStringLiteral("moondial-%1.lock")
                                                         : QStringLiteral("moondial-idle-%1.lock");
    return QDir(folder).filePath(name.arg(::getuid())).toStdString();
}

// In a shared folder anyone may have made the file first: a link is never followed, and a file
// that is not this user's own plain file is not our mark, whoever holds a lock on it.
int OpenOwnLockFile(const std::string& path) {
    const int fd =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0)
        return -1;
    struct stat file {};
    if (::fstat(fd, &file) != 0 || !S_ISREG(file.st_mode) || file.st_uid != ::getuid()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

InstanceMark::InstanceMark(Of holders) : handle_(std::make_unique<Handle>()) {
    handle_->fd = OpenOwnLockFile(LockPath(holders));
    // A lock file that cannot be opened cannot show another instance either.
    handle_->held = handle_->fd < 0 || ::flock(handle_->fd, LOCK_EX | LOCK_NB) == 0;
}

InstanceMark::~InstanceMark() = default;

bool InstanceMark::Held() const {
    return handle_->held;
}

} // namespace ui
