#pragma once

#include "server/engine/ServerLog.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

namespace vexa::server {
class SampleEngine;
}

namespace vexa::server::test {

/// A log that keeps every call's text and the entries the log list would show.
class RecordingLog : public ServerLog {
public:
    void LogLine(const QString& text) override;
    void clear();

    /// The text of each call, in order.
    QStringList calls;
    /// The entries, one per "\n"-separated piece of each call.
    QStringList entries;
};

/// The bytes of a layout message body: the path, the count and the names.
QByteArray LayoutMessage(const QByteArray& path, const std::vector<QByteArray>& names);
/// Hands \p engine the layout message for \p path and \p names, as a transport would.
void SendLayout(SampleEngine& engine, const QByteArray& path, const std::vector<QByteArray>& names);

}  // namespace vexa::server::test
