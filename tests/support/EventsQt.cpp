#include "support/StandIns.h"

#include <QTest>

namespace testing_support {

void RunEventsFor(int milliseconds) {
    QTest::qWait(milliseconds);
}

} // namespace testing_support
