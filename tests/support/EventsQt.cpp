#include "support/StandIns.h"

#include <QApplication>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>

namespace testing_support {

void RunEventsFor(int milliseconds) {
    QTest::qWait(milliseconds);
}

void StartWindowSystem(int& argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Never destroyed: Qt's own objects go at exit, and an application destroyed after them
    // would find them gone.
    new QApplication(argc, argv);
}

long long PeakMemoryBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<long long>(usage.ru_maxrss) * 1024;
}

long long ResidentBytes() {
    long long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%lld %lld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

GuiObjects HeldGuiObjects() {
    return {};
}

void ProcessEvents() {
    QCoreApplication::processEvents();
}

} // namespace testing_support
