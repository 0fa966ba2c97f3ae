#pragma once

#include "server/engine/ServerLog.h"

#include <QFile>
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
    /// Appends every entry logged from now on to the file at \p path as well,
    /// one line each, as it is logged; false when the file cannot be opened.
    /// The file keeps what the list drops when it empties itself.
    bool copyTo(const QString& path);

    /// The entries, first to last, as they were logged (tabs unexpanded).
    QStringList entries() const;
    /// The entry at the top of the visible area; -1 when the log is empty.
    int topVisibleEntry() const;

private:
    void AppendEntry(const QString& piece);
    void ScrollToLastEntry();

    LogEntryDelegate* m_delegate;
    QTimer m_scroll;
    QFile m_copy;
};

}  // namespace vexa::server
