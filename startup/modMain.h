#pragma once
// The start-up module: the entry routine, the settings routines and the program-wide values.

#include <cstdint>
#include <string>
#include <vector>

namespace modMain {

// Where every setting lives.
inline constexpr std::int32_t HKeyCurrentUser = static_cast<std::int32_t>(0x80000001u);
inline constexpr const char* SettingsKey = "SOFTWARE\\Quillon\\Moondial";

// Value names and the default each is always read with.
inline constexpr const char* PreviewValue = "Preview";
inline constexpr const char* PreviewDefault = "False";
inline constexpr const char* SaverTypeValue = "Screen Saver Type";
inline constexpr const char* SaverTypeDefault = "1";
inline constexpr const char* CustomPathValue = "Custom Graphic Path";
inline constexpr const char* CustomPathDefault = "N/A";

// Program-wide values. ScreenSaverType is set only by CheckSettings: 1 analog clock,
// 2 lips clock, 3 alarm clock, 4 custom picture; any other value shows nothing.
extern std::int32_t ScreenSaverType;
// Palette indices of the lips clock's hands, set by Main for the saver.
extern std::int16_t LipsHourHandColor;
extern std::int16_t LipsMinuteHandColor;
extern std::int16_t LipsSecondHandColor;

// Runs once when the process starts: refuses a second instance, loads the saver type,
// records whether this start is a preview and opens the one window of the mode.
void Main();

// Loads the stored saver type into ScreenSaverType; false when the start must stop.
bool CheckSettings();

// The stored text, or the default, which is then stored. The empty text after a failure.
std::string GetRegKey(std::int32_t root, std::string keyPath, std::string valueName,
                      std::string defaultValue);

void SetRegKey(std::int32_t root, std::string keyPath, std::string valueName, std::string value);

// Uniform over lower + 1 to upper, re-seeded from the time of day at every call.
// Fails with errors::InvalidArgument unless upper is greater than lower.
std::int32_t GetRandomNumber(std::int32_t lower, std::int32_t upper);

// Runs the saver as an X11 screen-saver daemon's hack when the arguments are a hack's (Linux):
// in the daemon's window, without the instance rule or the "Preview" record of "/s". False
// when they are not.
bool RunAsHack(const std::vector<std::string>& arguments);
// Whether the arguments name another program's window: the preview's pane, or a hack's
// options (a hack draws in a daemon's window or on the desktop).
bool NamesOtherWindows(const std::vector<std::string>& arguments);

// Places the preview window in the display settings' preview pane.
void EmbedPreview(std::int32_t paneHandle);

} // namespace modMain
