#include "server/SourcesWindow.h"

#include "server/inputs/InputSet.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vexa::server {

namespace {

constexpr int kWidth = 1240;
constexpr int kHeight = 250;

const char* const kHeadings[SourcesWindow::kColumnCount] = {
    "Input",         "State",          "Where / why", "Clients",        "Messages",       "Values",       "Values/s",
    "Bytes/s",       "Parse errors",   "Refused names", "Strings skipped", "Lines over 64 KB", "Kernel drops",
    "Last message",
};

QString Count(std::uint64_t count)
{
    return QString::number(count);
}

QString LastMessage(std::int64_t epochMs)
{
    if (epochMs == 0)
        return QStringLiteral("never");
    return QDateTime::fromMSecsSinceEpoch(epochMs).toString(QStringLiteral("HH:mm:ss.zzz"));
}

}  // namespace

SourcesWindow::SourcesWindow(const InputSet& inputs, QWidget* owner)
    : RefreshingWindow(QString::fromLatin1(kTitle), owner),
      m_inputs(inputs),
      m_table(new QTableWidget(inputs.inputCount(), kColumnCount, this)),
      m_summary(new QLabel(this)),
      m_notice(new QLabel(this))
{
    QStringList headings;
    for (const char* heading : kHeadings)
        headings.append(QString::fromLatin1(heading));
    m_table->setHorizontalHeaderLabels(headings);
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->setAccessibleName(QString::fromLatin1(kTitle));
    for (int row = 0; row < m_table->rowCount(); ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            auto* item = new QTableWidgetItem;
            if (column >= kClientsColumn && column < kLastMessageColumn)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(row, column, item);
        }
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(m_summary);
    layout->addWidget(m_notice);
    resize(kWidth, kHeight);

    for (int i = 0; i < inputs.inputCount(); ++i)
        connect(&inputs.input(i), &LiveInput::stateChanged, this, &SourcesWindow::Refresh);
    connect(&inputs, &InputSet::noticeChanged, this, &SourcesWindow::Refresh);
    Refresh();
}

QString SourcesWindow::summary() const
{
    return m_summary->text();
}

QString SourcesWindow::notice() const
{
    return m_notice->text();
}

void SourcesWindow::Refresh()
{
    for (int row = 0; row < m_inputs.inputCount(); ++row) {
        const LiveInput& input = m_inputs.input(row);
        const InputCounters& counters = input.counters();
        const bool showClients = input.takesConnections() && input.state() != InputState::Off;
        const QString texts[kColumnCount] = {
            input.name(),
            InputStateText(input.state()),
            input.detail(),
            showClients ? Count(std::uint64_t(counters.clients)) : QString(),
            Count(counters.messages),
            Count(counters.values),
            Count(input.valuesPerSecond()),
            Count(input.bytesPerSecond()),
            Count(counters.parseErrors),
            Count(counters.refusedNames),
            Count(counters.skipped),
            Count(counters.oversizeLines),
            Count(counters.kernelDrops),
            LastMessage(counters.lastMessageMs),
        };
        for (int column = 0; column < kColumnCount; ++column)
            m_table->item(row, column)->setText(texts[column]);
    }
    m_table->resizeColumnsToContents();
    const ValueTable& table = m_inputs.table();
    m_summary->setText(QStringLiteral("%1 names of at most %2 held; %3 new names refused because the table was full")
                           .arg(table.size())
                           .arg(ValueTable::kMaxNames)
                           .arg(table.refusedCount()));
    m_notice->setText(m_inputs.notice());
}

}  // namespace vexa::server
