// The system's local time as the backend reads it, across a change of the machine's time zone
// while the program runs. The test command runs this where /etc/localtime is a file of the
// test's own (tests/e2e/zone-change.sh names it); elsewhere it skips.

#include "ui/SystemClock.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <thread>

namespace {

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The machine's zone file, rewritten in place as a change of zone rewrites it, and put back.
class ZoneFile {
public:
    explicit ZoneFile(std::string path) : path_(std::move(path)), kept_(Contents(path_)) {}
    ~ZoneFile() { Write(kept_, std::chrono::hours(48)); }
    void Become(const std::string& zone) { Write(Contents(zone), std::chrono::hours(24)); }

private:
    // A time of its own each time: a reader of the zone notices a change by it.
    void Write(const std::string& bytes, std::chrono::hours age) const {
        std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes;
        std::filesystem::last_write_time(path_,
                                         std::filesystem::file_time_type::clock::now() - age);
    }
    std::string path_, kept_;
};

TEST(SystemClock, FollowsAChangeOfTimeZoneWhileTheProgramRuns) {
    using namespace std::chrono;
    const char* zone = std::getenv("MOONDIAL_TEST_ZONE");
    const char* next = std::getenv("MOONDIAL_TEST_NEXT_ZONE");
    if (!zone || !next)
        GTEST_SKIP() << "no zone file of the test's own (tests/e2e/zone-change.sh)";
    ZoneFile machine(zone);
    const auto start = steady_clock::now();
    const double before = ui::SystemNow().SecondsSinceMidnight; // read once in UTC
    machine.Become(next);
    // From UTC to India: five and a half hours on, whatever the day. Windows takes up to a
    // second to tell its programs.
    constexpr double Ahead = 5.5 * 3600;
    double ahead = 0;
    do {
        const double passed = duration<double>(steady_clock::now() - start).count();
        ahead =
            std::fmod(ui::SystemNow().SecondsSinceMidnight - before - passed + 2 * 86400, 86400);
        if (std::abs(ahead - Ahead) < 2)
            break;
        std::this_thread::sleep_for(milliseconds(50));
    } while (steady_clock::now() - start < seconds(10));
    EXPECT_NEAR(ahead, Ahead, 2.0);
}

} // namespace
