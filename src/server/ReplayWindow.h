#pragma once

#include "server/RefreshingWindow.h"

#include <optional>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSlider;

namespace vexa::server {

class ReplayInput;
class ServerLog;

/// The "Replay" window: opens a recording or a CSV file, plays, pauses and
/// steps it, sets its speed and loop, moves it with a position slider and
/// shows the replay time; two marks bound a range that it exports as CSV.
/// Why a file was refused shows in the window as well as in the log.
class ReplayWindow : public RefreshingWindow {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Replay";
    /// The slider's steps across the replayed span.
    static constexpr int kSliderSteps = 10000;
    /// How often the replay time is brought up to date while shown.
    static constexpr int kClockRefreshMs = 100;

    ReplayWindow(ReplayInput& replay, ServerLog& log, QWidget* owner);

    /// Asks for a file and opens it, paused at its start.
    void OpenFile();
    /// Marks the clock's position as the start or the end of the range to export.
    void MarkStart();
    void MarkEnd();
    /// Asks for a CSV file and writes the range between the marks to it.
    void ExportRange();
    /// Moves the clock to the slider's position.
    void SeekToSlider();

    void Refresh() override;

private:
    /// The replay time at slider step \p step, and back.
    double TimeAtStep(int step) const;
    int StepAtTime(double time) const;
    /// Shows \p text as the window's error line and logs it.
    void ShowError(const QString& text);

    ReplayInput& m_replay;
    ServerLog& m_log;
    QLabel* m_file;
    QPushButton* m_open;
    QPushButton* m_play;
    QPushButton* m_pause;
    QPushButton* m_step;
    QDoubleSpinBox* m_speed;
    QCheckBox* m_loop;
    QSlider* m_position;
    QLabel* m_time;
    QLabel* m_span;
    QLabel* m_state;
    QPushButton* m_markStart;
    QPushButton* m_markEnd;
    QLabel* m_marks;
    QPushButton* m_export;
    QLabel* m_error;
    std::optional<double> m_startMark;
    std::optional<double> m_endMark;
};

}  // namespace vexa::server
