// The picture loader of the Qt backend, given any bytes as a file: it gives a picture or an
// unreadable picture (50003), never anything else, and never crashes.

#include "ui/Error.h"
#include "ui/Picture.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string path;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("QT_LOGGING_RULES", "qt.gui.imageio*=false", 1);
    static QApplication application(*argc, *argv);
    path = QDir::tempPath().toStdString() + "/moondial-fuzz-" + std::to_string(getpid()) + ".jpg";
    std::atexit([] { std::remove(path.c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    try {
        const ui::Picture picture = ui::LoadPicture(path);
        if (picture.Empty() || picture.WidthPixels() <= 0)
            std::abort();
    } catch (const ui::Error& e) {
        if (e.Number != ui::errors::InvalidPicture)
            std::abort();
    }
    return 0;
}
