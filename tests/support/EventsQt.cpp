#include "support/StandIns.h"

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <sys/resource.h>

namespace testing_support {

void RunEventsFor(int milliseconds) {
    QTest::qWait(milliseconds);
}

void StartWindowSystem(int& argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication application(argc, argv);
}

long long PeakMemoryBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<long long>(usage.ru_maxrss) * 1024;
}

} // namespace testing_support
