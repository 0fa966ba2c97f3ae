#include "server/ReplayWindow.h"

#include "platform/FileDialogs.h"
#include "server/engine/ServerLog.h"
#include "server/replay/ReplayExport.h"
#include "server/replay/ReplayFile.h"
#include "server/replay/ReplayInput.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>

namespace vexa::server {

namespace {

constexpr int kWidth = 780;
/// A click beside the slider's handle moves it a twentieth of the span.
constexpr int kSliderPage = ReplayWindow::kSliderSteps / 20;
constexpr int kSpeedDecimals = 1;
constexpr double kSpeedStep = 0.5;
constexpr const char* kReplayFilters[] = {"Recordings (*.sqlite3)", "CSV Files (*.csv)", "All Files (*)"};
constexpr const char* kCsvFilter = "CSV Files (*.csv)";
constexpr const char* kCsvSuffix = ".csv";
constexpr const char* kNoMark = "-";

QPushButton* Button(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

QLabel* Label(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString MarkText(const std::optional<double>& mark)
{
    return mark.has_value() ? TimeText(*mark) : QString::fromLatin1(kNoMark);
}

}  // namespace

ReplayWindow::ReplayWindow(ReplayInput& replay, ServerLog& log, QWidget* owner)
    : RefreshingWindow(QString::fromLatin1(kTitle), owner),
      m_replay(replay),
      m_log(log),
      m_file(Label("file", this)),
      m_open(Button(QStringLiteral("Open..."), "open", this)),
      m_play(Button(QStringLiteral("Play"), "play", this)),
      m_pause(Button(QStringLiteral("Pause"), "pause", this)),
      m_step(Button(QStringLiteral("Step"), "step", this)),
      m_speed(new QDoubleSpinBox(this)),
      m_loop(new QCheckBox(QStringLiteral("Loop"), this)),
      m_position(new QSlider(Qt::Horizontal, this)),
      m_time(Label("time", this)),
      m_span(Label("span", this)),
      m_state(Label("state", this)),
      m_markStart(Button(QStringLiteral("Mark Start"), "markStart", this)),
      m_markEnd(Button(QStringLiteral("Mark End"), "markEnd", this)),
      m_marks(Label("marks", this)),
      m_export(Button(QStringLiteral("Export..."), "export", this)),
      m_error(Label("error", this))
{
    setRefreshInterval(kClockRefreshMs);
    resize(kWidth, sizeHint().height());

    m_speed->setObjectName(QStringLiteral("speed"));
    m_speed->setRange(ReplayInput::kSlowest, ReplayInput::kFastest);
    m_speed->setDecimals(kSpeedDecimals);
    m_speed->setSingleStep(kSpeedStep);
    m_speed->setSuffix(QStringLiteral(" x"));
    m_speed->setValue(m_replay.speed());
    m_loop->setObjectName(QStringLiteral("loop"));
    m_position->setObjectName(QStringLiteral("position"));
    m_position->setRange(0, kSliderSteps);
    m_position->setPageStep(kSliderPage);
    // A seek on release only: each one reads the file.
    m_position->setTracking(false);
    QFont large = m_time->font();
    large.setPointSizeF(large.pointSizeF() * 1.5);
    m_time->setFont(large);
    m_error->setWordWrap(true);
    m_error->setStyleSheet(QStringLiteral("color: #b00000"));

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(m_open);
    auto* controls = new QHBoxLayout;
    controls->addWidget(m_play);
    controls->addWidget(m_pause);
    controls->addWidget(m_step);
    controls->addSpacing(12);
    controls->addWidget(new QLabel(QStringLiteral("Speed"), this));
    controls->addWidget(m_speed);
    controls->addWidget(m_loop);
    controls->addStretch(1);
    controls->addWidget(m_state);
    auto* clock = new QHBoxLayout;
    clock->addWidget(m_time);
    clock->addStretch(1);
    clock->addWidget(m_span);
    auto* marks = new QHBoxLayout;
    marks->addWidget(m_markStart);
    marks->addWidget(m_markEnd);
    marks->addWidget(m_marks, 1);
    marks->addWidget(m_export);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addLayout(controls);
    layout->addWidget(m_position);
    layout->addLayout(clock);
    layout->addLayout(marks);
    layout->addWidget(m_error);
    layout->addStretch(1);

    connect(m_open, &QPushButton::clicked, this, &ReplayWindow::OpenFile);
    connect(m_play, &QPushButton::clicked, &m_replay, &ReplayInput::Play);
    connect(m_pause, &QPushButton::clicked, &m_replay, &ReplayInput::Pause);
    connect(m_step, &QPushButton::clicked, this, [this] { m_replay.Step(); });
    connect(m_speed, &QDoubleSpinBox::valueChanged, &m_replay, &ReplayInput::setSpeed);
    connect(m_loop, &QCheckBox::toggled, &m_replay, &ReplayInput::setLoop);
    connect(m_position, &QSlider::valueChanged, this, &ReplayWindow::SeekToSlider);
    connect(m_markStart, &QPushButton::clicked, this, &ReplayWindow::MarkStart);
    connect(m_markEnd, &QPushButton::clicked, this, &ReplayWindow::MarkEnd);
    connect(m_export, &QPushButton::clicked, this, &ReplayWindow::ExportRange);
    connect(&m_replay, &ReplayInput::replayChanged, this, &ReplayWindow::Refresh);
    Refresh();
}

void ReplayWindow::OpenFile()
{
    FileDialogRequest request;
    request.owner = this;
    request.title = QStringLiteral("Replay");
    request.mode = FileDialogMode::Open;
    for (const char* filter : kReplayFilters)
        request.filters.append(QString::fromLatin1(filter));
    const std::optional<QString> chosen = RunFileDialog(request);
    if (!chosen.has_value())
        return;
    m_startMark.reset();
    m_endMark.reset();
    m_error->clear();
    m_replay.Open(*chosen);
    Refresh();
}

void ReplayWindow::MarkStart()
{
    m_startMark = m_replay.position();
    Refresh();
}

void ReplayWindow::MarkEnd()
{
    m_endMark = m_replay.position();
    Refresh();
}

void ReplayWindow::ExportRange()
{
    const ReplayFile* open = m_replay.file();
    if (open == nullptr)
        return;
    TimeRange range{m_startMark.value_or(m_replay.range().from), m_endMark.value_or(m_replay.range().to)};
    if (range.from > range.to)
        std::swap(range.from, range.to);

    FileDialogRequest request;
    request.owner = this;
    request.title = QStringLiteral("Export Range");
    request.mode = FileDialogMode::Create;
    request.filters = {QString::fromLatin1(kCsvFilter)};
    std::optional<QString> chosen = RunFileDialog(request);
    if (!chosen.has_value())
        return;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1String(kCsvSuffix);

    // A file of its own, so that the replay's place in it stays where it is.
    OpenedReplayFile source = OpenReplayFile(open->path());
    if (source.file == nullptr) {
        ShowError(QStringLiteral("Export failed: %1").arg(source.error));
        return;
    }
    const ExportOutcome outcome = ExportCsvFile(*source.file, ExportRequest{range, {}, true}, path);
    if (!outcome.error.isEmpty()) {
        ShowError(QStringLiteral("Export failed: %1").arg(outcome.error));
        return;
    }
    m_error->clear();
    m_log.LogLine(QStringLiteral("Replay: exported %1 rows from %2 to %3 into %4")
                      .arg(outcome.rows)
                      .arg(TimeText(range.from), TimeText(range.to), path));
}

void ReplayWindow::ShowError(const QString& text)
{
    m_error->setText(text);
    m_log.LogLine(QStringLiteral("Replay: %1").arg(text));
}

void ReplayWindow::SeekToSlider()
{
    m_replay.Seek(TimeAtStep(m_position->value()));
}

double ReplayWindow::TimeAtStep(int step) const
{
    const TimeRange range = m_replay.range();
    return range.from + (range.to - range.from) * step / kSliderSteps;
}

int ReplayWindow::StepAtTime(double time) const
{
    const TimeRange range = m_replay.range();
    if (range.to <= range.from)
        return 0;
    return int(std::lround((time - range.from) / (range.to - range.from) * kSliderSteps));
}

void ReplayWindow::Refresh()
{
    const bool open = m_replay.isOpen();
    m_file->setText(open ? m_replay.file()->path() : QStringLiteral("No file open"));
    for (QWidget* control : {static_cast<QWidget*>(m_play), static_cast<QWidget*>(m_pause),
                             static_cast<QWidget*>(m_step), static_cast<QWidget*>(m_position),
                             static_cast<QWidget*>(m_markStart), static_cast<QWidget*>(m_markEnd),
                             static_cast<QWidget*>(m_export)})
        control->setEnabled(open);
    m_play->setEnabled(open && !m_replay.isPlaying());
    m_pause->setEnabled(open && m_replay.isPlaying());
    if (!m_speed->hasFocus())
        m_speed->setValue(m_replay.speed());
    m_loop->setChecked(m_replay.isLooping());
    if (!open) {
        m_time->setText(QStringLiteral("--:--:--.---"));
        m_span->clear();
        m_state->clear();
    } else {
        const double now = m_replay.position();
        m_time->setText(TimeText(now));
        m_span->setText(QStringLiteral("%1 to %2").arg(TimeText(m_replay.range().from), TimeText(m_replay.range().to)));
        m_state->setText(m_replay.isPlaying() ? QStringLiteral("Playing") : QStringLiteral("Paused"));
        if (!m_position->isSliderDown()) {
            const QSignalBlocker quiet(m_position);
            m_position->setValue(StepAtTime(now));
        }
    }
    m_marks->setText(QStringLiteral("Range to export: %1 to %2").arg(MarkText(m_startMark), MarkText(m_endMark)));
    if (!m_replay.lastError().isEmpty())
        m_error->setText(m_replay.lastError());
}

}  // namespace vexa::server
