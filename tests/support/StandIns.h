#pragma once
// Stand-ins for the outside world: what a person answers, another process, the clock,
// the command line and the end of the process. Everything else is the real program.

#include "ui/Outside.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace testing_support {

struct ShownMessage {
    std::string text;
    int style = 0;
    std::string title;
};

// Replaces the outside world for one test, with an empty settings store and the program-wide
// values as a new process has them; puts everything back afterwards.
class OutsideWorldTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a routine that may end the process; true when it did.
    template <typename Routine> bool Ends(Routine&& routine) {
        try {
            routine();
        } catch (const ui::ProcessEnded&) {
            return true;
        }
        return false;
    }

    std::vector<ShownMessage> messages;
    std::string commandLine;
    std::vector<std::string> argumentList; // the same, split as the system splits it
    bool anotherInstance = false;
    ui::LocalTime now{12, 0, 0, 43200.0};
    int ends = 0;
    // The Open dialog: what the person picks (nothing: Cancel), and what each showing was given.
    std::optional<std::string> chosenFile;
    struct FileDialogShown {
        std::string folder, filter;
    };
    std::vector<FileDialogShown> fileDialogs;
    // The browser: whether it opens, and every address it was given.
    bool browserOpens = true;
    std::vector<std::string> addressesOpened;

private:
    ui::Outside saved_;
};

// Delivers the window system's events, timers' ticks included, for a while.
void RunEventsFor(int milliseconds);

// For a test program of its own: what the window system needs before any window or picture
// (Qt: an application on the offscreen platform, unless another is named).
void StartWindowSystem(int& argc, char** argv);

// AddressSanitizer keeps freed memory in quarantine and adds its shadow: its figures say
// nothing of the program's own.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool Sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool Sanitized = true;
#else
inline constexpr bool Sanitized = false;
#endif
#else
inline constexpr bool Sanitized = false;
#endif

// The most memory the process has held at once, and what it holds now, in bytes.
long long PeakMemoryBytes();
long long ResidentBytes();

// The window system's objects the process holds: GDI and USER objects and kernel handles on
// Windows (Wine counts no GDI or USER objects: 0); nothing (-1) elsewhere.
struct GuiObjects {
    long long Gdi = -1, User = -1, Handles = -1;
};
GuiObjects HeldGuiObjects();

// Delivers the events that are waiting, and returns.
void ProcessEvents();

// The test store: values as the program stores them, and ways to break the store.
void ClearStore();
std::optional<std::string> Stored(const std::string& name);
std::vector<std::string> StoredNames();
// Makes every read of the program's key fail until ClearStore.
void BreakStore();

} // namespace testing_support
