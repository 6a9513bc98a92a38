#include "ui/qt/TerminationSignals.h"

#include "ui/Application.h"
#include "ui/Dispatch.h"
#include "ui/Services.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace ui::app {

namespace {

int signalPipe[2] = {-1, -1};

// Only what is safe in a signal handler: the event loop is woken through the pipe.
void OnTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

void EndOnTerminationSignals() {
    OnTerminationSignals([] { Guarded([] { ui::EndProgram(); }); });
}

void OnTerminationSignals(std::function<void()> then) {
    if (signalPipe[0] >= 0 || ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier =
        new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, std::move(then));
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT})
        sigaction(signal, &action, nullptr);
}

} // namespace ui::app
