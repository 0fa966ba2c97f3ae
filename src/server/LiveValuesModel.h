#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <functional>

namespace vexa::server {

class InputSet;

/// The value table as rows of name, value, age, the sender's time and
/// input, in the order the names first came. Rows are only ever added; Refresh() tells the views of
/// new rows and of changed values.
class LiveValuesModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kNameColumn, kValueColumn, kAgeColumn, kSourceTimeColumn, kInputColumn, kColumnCount };

    explicit LiveValuesModel(const InputSet& inputs, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// Takes up the names that came since the last refresh and marks every
    /// value and age as changed.
    void Refresh();

    /// Replaces the clock by which ages are told (MonotonicMs()).
    void setClock(std::function<std::int64_t()> clock) { m_clock = std::move(clock); }

private:
    const InputSet& m_inputs;
    int m_rows = 0;
    std::function<std::int64_t()> m_clock;
};

}  // namespace vexa::server
