// Loads every file of a folder through the program's own picture loader: each must give a
// picture or one of the numbers 53, 76 and 50003, within 5 s, and the process's peak memory
// must stay below 320 MB. Prints what each kind of outcome counted, and every failure. On the
// Qt backend it then sets the header scan beside Qt's own readers on every file.
//
//   corpus FOLDER

#include "support/StandIns.h"
#ifdef MOONDIAL_HEADER_DIFFERENTIAL
#include "support/HeaderDifferential.h"
#endif
#include "ui/Error.h"
#include "ui/Picture.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr auto FileDeadline = std::chrono::seconds(5);
constexpr long long PeakLimit = 320LL * 1024 * 1024;

std::atomic<long long> startedAt{0}; // of the file being loaded, in milliseconds; 0: none
std::string current;

long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: corpus FOLDER\n");
        return 2;
    }
    testing_support::StartWindowSystem(argc, argv);
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());

    // A hang cannot be undone from inside: the watchdog names the file and ends the run.
    std::thread([] {
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const long long started = startedAt.load();
            if (started && NowMs() - started > FileDeadline.count() * 1000) {
                std::fprintf(stderr, "HANG %s\n", current.c_str());
                std::fflush(nullptr);
                std::_Exit(3);
            }
        }
    }).detach();

    std::map<std::int32_t, int> outcomes;
    int failures = 0;
    long long slowest = 0;
    std::string slowestFile;
    for (const auto& file : files) {
        current = file.filename().string();
        const long long start = NowMs();
        startedAt = start;
        std::int32_t outcome = 0;
        std::string why;
        try {
            const ui::Picture picture = ui::LoadPicture(file.string());
            if (picture.Empty())
                why = "an empty picture";
        } catch (const ui::Error& failure) {
            outcome = failure.Number;
            why = failure.Description;
        } catch (const std::exception& failure) {
            outcome = -1;
            why = failure.what();
        }
        startedAt = 0;
        if (NowMs() - start >= slowest) {
            slowest = NowMs() - start;
            slowestFile = current;
        }
        ++outcomes[outcome];
        const bool expected = outcome == 0 || outcome == ui::errors::FileNotFound ||
                              outcome == ui::errors::PathNotFound ||
                              outcome == ui::errors::InvalidPicture;
        if (!expected || (outcome == 0 && !why.empty())) {
            ++failures;
            std::printf("FAIL %s: %d %s\n", current.c_str(), outcome, why.c_str());
        }
    }
    const long long peak = testing_support::PeakMemoryBytes();
    std::printf("%zu files:", files.size());
    for (const auto& [number, count] : outcomes)
        std::printf(" %s %d", number == 0 ? "pictures" : std::to_string(number).c_str(), count);
    std::printf("; slowest %lld ms (%s); peak memory %.1f MB\n", slowest, slowestFile.c_str(),
                peak / 1048576.0);
    if (peak > PeakLimit && !testing_support::Sanitized) {
        std::printf("FAIL the peak memory is above %lld MB\n", PeakLimit / 1048576);
        ++failures;
    }
#ifdef MOONDIAL_HEADER_DIFFERENTIAL
    int compared = 0;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                               std::istreambuf_iterator<char>()};
        const std::string disagreement =
            testing_support::HeaderDisagreement(bytes.data(), bytes.size());
        ++compared;
        if (!disagreement.empty()) {
            ++failures;
            std::printf("FAIL %s: %s\n", file.filename().string().c_str(), disagreement.c_str());
        }
    }
    std::printf("%d files beside Qt's readers\n", compared);
#endif
    return failures ? 1 : 0;
}
