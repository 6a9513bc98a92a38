#pragma once
// The user's own processes in this session (on its display), as their command lines give them.

#include <string>
#include <vector>

namespace ui::check {

struct Process {
    int pid = 0;
    std::vector<std::string> arguments; // the program first
    std::string Name() const;           // the program's file name, without its folder
};

// Every process of this user on this session's display, but this one: a watcher or daemon on
// another display starts no saver here.
std::vector<Process> SessionProcesses();

// The processes whose program is named `name`.
std::vector<Process> Named(const std::vector<Process>& processes, const std::string& name);

} // namespace ui::check
