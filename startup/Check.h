#pragma once
// "--check" (or "/d"): tells the user why the saver does or does not start on this machine. A
// mode beside the described ones: it opens no window and changes nothing.

#include <string>
#include <vector>

namespace modMain {

// Whether the command line asks for the check: "--check" or "/d", in any case.
bool AsksForCheck(const std::vector<std::string>& arguments);

// Runs the check and returns its exit status: 0 the saver will show, 1 something stops it,
// 2 a wrong command line (said on the standard error).
int CheckMachine(int argc, char** argv, const std::vector<std::string>& arguments);

} // namespace modMain
