#pragma once

#include "server/RefreshingWindow.h"

class QLabel;
class QTableView;

namespace vexa::server {

class InputSet;
class LiveValuesModel;

/// The "Live Values" window: every name the inputs have fed, with its
/// latest value, its age, the time its sender gave and the input it came
/// from, refreshed every second while the window is shown.
class LiveValuesWindow : public RefreshingWindow {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Live Values";

    LiveValuesWindow(const InputSet& inputs, QWidget* owner);

    LiveValuesModel& model() const { return *m_model; }
    const QTableView& view() const { return *m_view; }
    /// The line over the table with the number of names.
    QString summary() const;

    /// Brings the rows and the count up to date.
    void Refresh() override;

private:
    const InputSet& m_inputs;
    LiveValuesModel* m_model;
    QTableView* m_view;
    QLabel* m_summary;
};

}  // namespace vexa::server
