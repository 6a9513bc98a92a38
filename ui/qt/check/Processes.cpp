#include "ui/qt/check/Processes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace ui::check {

std::string Process::Name() const {
    if (arguments.empty())
        return {};
    const std::string& program = arguments.front();
    const auto slash = program.rfind('/');
    return slash == std::string::npos ? program : program.substr(slash + 1);
}

namespace {

// The display a process runs on, as its environment names it: a Wayland display (within its
// runtime folder) first, else an X display without its screen number.
QString DisplayOf(const QByteArray& environment) {
    QString wayland, runtime, x;
    for (const QByteArray& variable : environment.split('\0')) {
        if (variable.startsWith("WAYLAND_DISPLAY="))
            wayland = QString::fromLocal8Bit(variable.mid(16));
        else if (variable.startsWith("XDG_RUNTIME_DIR="))
            runtime = QString::fromLocal8Bit(variable.mid(16));
        else if (variable.startsWith("DISPLAY="))
            x = QString::fromLocal8Bit(variable.mid(8)).section(QLatin1Char('.'), 0, 0);
    }
    if (!wayland.isEmpty())
        return runtime + QLatin1Char('/') + wayland;
    return x;
}

QString OwnDisplay() {
    QByteArray environment;
    for (const char* name : {"WAYLAND_DISPLAY", "XDG_RUNTIME_DIR", "DISPLAY"})
        environment += QByteArray(name) + '=' + qgetenv(name) + '\0';
    return DisplayOf(environment);
}

} // namespace

std::vector<Process> SessionProcesses() {
    const QString display = OwnDisplay();
    std::vector<Process> processes;
    const QDir proc(QStringLiteral("/proc"));
    const auto self = static_cast<int>(::getpid());
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const int pid = entry.toInt(&number);
        if (!number || pid == self || QFileInfo(proc.filePath(entry)).ownerId() != ::getuid())
            continue;
        QFile environ(proc.filePath(entry + QStringLiteral("/environ")));
        if (!environ.open(QIODevice::ReadOnly) || DisplayOf(environ.readAll()) != display)
            continue;
        QFile cmdline(proc.filePath(entry + QStringLiteral("/cmdline")));
        if (!cmdline.open(QIODevice::ReadOnly))
            continue; // ended meanwhile
        const QByteArray all = cmdline.readAll();
        Process process{pid, {}};
        for (const QByteArray& argument : all.split('\0'))
            process.arguments.push_back(argument.toStdString());
        // The list ends with a NUL, which split leaves as a last empty part.
        if (!process.arguments.empty() && process.arguments.back().empty())
            process.arguments.pop_back();
        if (!process.arguments.empty())
            processes.push_back(std::move(process));
    }
    return processes;
}

std::vector<Process> Named(const std::vector<Process>& processes, const std::string& name) {
    std::vector<Process> named;
    for (const auto& process : processes)
        if (process.Name() == name)
            named.push_back(process);
    return named;
}

} // namespace ui::check
