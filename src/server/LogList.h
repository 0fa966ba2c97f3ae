#pragma once

#include "server/engine/ServerLog.h"

#include <QListWidget>
#include <QStringList>
#include <QTimer>

namespace vexa::server {

class LogEntryDelegate;

/// The server's log: the list that fills its window, one entry per line of
/// every text logged. Tabs are shown at fixed tab stops in a fixed-pitch
/// font, so that the listings' columns line up.
class LogList : public QListWidget, public ServerLog {
    Q_OBJECT

public:
    /// The list's identifier, used as its object name.
    static constexpr const char* kObjectName = "107";
    /// The most entries the log holds. Verbose mode logs every request, so
    /// the log empties itself when it is full rather than grow without end.
    static constexpr int kMaxEntries = 30000;

    explicit LogList(QWidget* parent = nullptr);

    /// Appends one entry per "\n"-separated piece of \p text (an empty piece
    /// too), and scrolls so that the last of them is the top visible entry
    /// (or as near the top as the list can scroll). The scroll is made once
    /// the event loop runs again, so that a listing of many lines lays the
    /// list out once rather than once per line.
    void LogLine(const QString& text) override;
    /// Empties the log.
    void clearLog();

    /// The entries, first to last, as they were logged (tabs unexpanded).
    QStringList entries() const;
    /// The entry at the top of the visible area; -1 when the log is empty.
    int topVisibleEntry() const;

private:
    void AppendEntry(const QString& piece);
    void ScrollToLastEntry();

    LogEntryDelegate* m_delegate;
    QTimer m_scroll;
};

}  // namespace vexa::server
