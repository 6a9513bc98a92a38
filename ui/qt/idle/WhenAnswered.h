#pragma once
// Asynchronous D-Bus calls for the watcher's sources: the watcher never waits on a bus.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QObject>

namespace ui::idle {

// Calls, and hands the answer to then once it comes, or the error to failed; nothing happens
// after context is gone.
template <typename Reply, typename Then, typename Failed>
void WhenAnswered(QDBusConnection& bus, const QDBusMessage& call, QObject* context, Then then,
                  Failed failed) {
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, then, failed](QDBusPendingCallWatcher*) {
                         const QDBusPendingReply<Reply> reply = *watcher;
                         if (reply.isError())
                             failed(reply.error());
                         else
                             then(reply.value());
                         watcher->deleteLater();
                     });
}

template <typename Reply, typename Then>
void WhenAnswered(QDBusConnection& bus, const QDBusMessage& call, QObject* context, Then then) {
    WhenAnswered<Reply>(bus, call, context, then, [](const QDBusError&) {});
}

} // namespace ui::idle
