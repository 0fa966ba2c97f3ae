#pragma once

#include "server/RefreshingWindow.h"

class QLabel;
class QTableWidget;

namespace vexa::server {

class InputSet;

/// The "Sources" window: one row per live input with its state, where it
/// listens or why it failed, and its counters and rates, refreshed every
/// second while the window is shown.
class SourcesWindow : public RefreshingWindow {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Sources";
    /// The table's columns, left to right.
    enum Column {
        kInputColumn,
        kStateColumn,
        kDetailColumn,
        kClientsColumn,
        kMessagesColumn,
        kValuesColumn,
        kValuesPerSecondColumn,
        kBytesPerSecondColumn,
        kParseErrorsColumn,
        kRefusedNamesColumn,
        kSkippedColumn,
        kOversizeColumn,
        kKernelDropsColumn,
        kLastMessageColumn,
        kColumnCount
    };

    /// A window onto \p inputs, owned by \p owner and kept apart from it.
    SourcesWindow(const InputSet& inputs, QWidget* owner);

    const QTableWidget& table() const { return *m_table; }
    /// The line under the table about the value table as a whole.
    QString summary() const;
    /// The line under the summary from beside the inputs: the recording's state.
    QString notice() const;

    /// Fills the table from the inputs as they stand now.
    void Refresh() override;

private:
    const InputSet& m_inputs;
    QTableWidget* m_table;
    QLabel* m_summary;
    QLabel* m_notice;
};

}  // namespace vexa::server
