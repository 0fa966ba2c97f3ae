#include "server/LiveValuesModel.h"

#include "platform/AnsiText.h"
#include "server/engine/LiveValues.h"
#include "server/inputs/InputSet.h"

#include <QDateTime>

#include <cmath>

namespace vexa::server {

namespace {

constexpr int kValueDigits = 12;
constexpr double kMillisecondsPerSecond = 1000.0;
const char* const kHeadings[LiveValuesModel::kColumnCount] = {"Name", "Value", "Age", "Sent at", "Input"};

}  // namespace

LiveValuesModel::LiveValuesModel(const InputSet& inputs, QObject* parent)
    : QAbstractTableModel(parent), m_inputs(inputs), m_clock(&MonotonicMs)
{
    m_rows = int(inputs.table().size());
}

int LiveValuesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int LiveValuesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant LiveValuesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    const ValueTable& table = m_inputs.table();
    const auto row = std::size_t(index.row());
    const ValueTable::Entry& entry = table.entry(row);
    if (role == Qt::TextAlignmentRole && (index.column() == kValueColumn || index.column() == kAgeColumn))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case kNameColumn:
        return FromAnsi(entry.name);
    case kValueColumn:
        return QString::number(entry.value, 'g', kValueDigits);
    case kAgeColumn: {
        const std::int64_t now = m_clock();
        const QString age =
            QStringLiteral("%1 s").arg(double(now - entry.receivedMs) / kMillisecondsPerSecond, 0, 'f', 1);
        return table.isStale(row, now) ? QStringLiteral("%1 (stale)").arg(age) : age;
    }
    case kSourceTimeColumn:
        if (std::isnan(entry.sourceTime))
            return QString();
        return QDateTime::fromMSecsSinceEpoch(std::llround(entry.sourceTime * kMillisecondsPerSecond))
            .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    case kInputColumn:
        return m_inputs.inputName(entry.input);
    default:
        return {};
    }
}

QVariant LiveValuesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(kHeadings[section]);
}

void LiveValuesModel::Refresh()
{
    const int rows = int(m_inputs.table().size());
    if (rows > m_rows) {
        beginInsertRows({}, m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    }
    if (m_rows > 0)
        emit dataChanged(index(0, kValueColumn), index(m_rows - 1, kInputColumn), {Qt::DisplayRole});
}

}  // namespace vexa::server
