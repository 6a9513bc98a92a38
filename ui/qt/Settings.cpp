#include "ui/Settings.h"

#include "ui/Convert.h"
#include "ui/Error.h"
#include "ui/qt/IniText.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace ui::settings {

namespace {

constexpr const char* Source = "Settings store";
constexpr const char* OwnKey = "software\\quillon\\moondial";
constexpr off_t MaxStoreBytes = 64 * 1024 * 1024;

// The per-user file keeps the one key the program uses; its values sit in its [General] part.
void CheckKey(std::int32_t root, const std::string& keyPath) {
    if (root != CurrentUser || ToLowerAscii(keyPath) != OwnKey)
        throw Error(errors::InvalidArgument,
                    "The settings store keeps only HKEY_CURRENT_USER\\SOFTWARE\\Quillon\\Moondial, "
                    "not " +
                        keyPath + ".",
                    Source);
}

// Where Qt keeps this program's per-user settings: $XDG_CONFIG_HOME/Quillon/Moondial.conf.
std::string StoreFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Quillon"))
        .toStdString();
}

std::string StoreFile() {
    return StoreFolder() + "/Moondial.conf";
}

[[noreturn]] void Fail(const std::string& what, const std::string& why) {
    throw Error(75, "The settings file " + StoreFile() + " " + what + ": " + why + ".", Source);
}

[[noreturn]] void Fail(const std::string& what, int error) {
    Fail(what, std::strerror(error));
}

// A file descriptor, closed with its holder.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

// The whole file; the empty text when there is none yet.
std::string ReadStore() {
    const Descriptor file(::open(StoreFile().c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0) {
        if (errno == ENOENT)
            return {};
        Fail("cannot be read", errno);
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0)
        Fail("cannot be read", errno);
    if (!S_ISREG(info.st_mode))
        Fail("cannot be read", EISDIR);
    // Far beyond three short values: not a file this program could have written.
    if (info.st_size > MaxStoreBytes)
        Fail("cannot be read", EFBIG);
    std::string text;
    text.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            Fail("cannot be read", errno);
        if (got == 0)
            return text;
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

void WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            Fail("cannot be written", errno);
        done += static_cast<std::size_t>(put);
    }
}

// The file the store's name leads to: itself, or the end of its chain of links (settings kept
// with the user's other dotfiles), so that a write replaces that file and the link stays.
QFileInfo Target() {
    QFileInfo file(QString::fromStdString(StoreFile()));
    for (int links = 0; file.isSymLink(); ++links) {
        if (links == 40)
            Fail("cannot be written", ELOOP);
        file.setFile(file.symLinkTarget());
    }
    return file;
}

// The new text goes to a file of its own beside the old one and takes its place in one step,
// so a process killed at any moment leaves either the old file or the new one, whole.
// Under the write lock: one name for the new text, so a writer killed halfway leaves at most
// that one file, which the next write takes over.
void ReplaceStore(const std::string& text) {
    const QFileInfo target = Target();
    const std::string path = target.filePath().toStdString();
    const std::string temporary = path + ".new";
    const Descriptor file(
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (file.Get() < 0)
        Fail("cannot be written", errno);
    try {
        WriteAll(file.Get(), text);
        if (::fsync(file.Get()) != 0)
            Fail("cannot be written", errno);
        if (::rename(temporary.c_str(), path.c_str()) != 0)
            Fail("cannot be replaced", errno);
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    const Descriptor folder(
        ::open(target.path().toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
        ::fsync(folder.Get());
}

// Held while a write reads and replaces the file, so two processes writing at once both land.
// The kernel's lock on a file of its own: it goes with its holder, however that ends, where a
// lock file naming its owner outlives a writer killed before the name is in. A lock that cannot
// be had in time is a failed write, never a write without it.
class WriteLock {
public:
    WriteLock()
        : fd_(::open((StoreFile() + ".lock").c_str(),
                     O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600)) {
        if (fd_.Get() < 0)
            Fail("cannot be locked", errno);
        // A writer holds it for milliseconds; one that keeps it far longer is hung.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (::flock(fd_.Get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR)
                Fail("cannot be locked", errno);
            if (std::chrono::steady_clock::now() > deadline)
                Fail("cannot be written", "another program keeps it locked");
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

private:
    Descriptor fd_;
};

} // namespace

std::optional<std::string> ReadValue(std::int32_t root, const std::string& keyPath,
                                     const std::string& name) {
    CheckKey(root, keyPath);
    return ini::Find(ReadStore(), name);
}

void WriteValue(std::int32_t root, const std::string& keyPath, const std::string& name,
                const std::string& value) {
    CheckKey(root, keyPath);
    if (!QDir().mkpath(QString::fromStdString(StoreFolder())))
        Fail("cannot be written, its folder cannot be made", ENOTDIR);
    const WriteLock lock;
    ReplaceStore(ini::WithValue(ReadStore(), name, value));
}

} // namespace ui::settings
