#pragma once

#include "server/faults/Fault.h"

#include <QDialog>

#include <optional>

class QSpinBox;
class QTableWidget;

namespace vexa::server {

/// The "Simulate Faults" dialog: a table of faults, one row each with its
/// name pattern, its kind and its arguments; Add and Remove; the seed of
/// the faults' random numbers. OK reads every row; a row that cannot be
/// read is shown and selected, and the dialog stays open. Controls carry
/// object names, so that they can be found.
class SimulateFaultsDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Simulate Faults";
    /// The columns of the table.
    enum Column : int { kPatternColumn = 0, kKindColumn = 1, kArgumentsColumn = 2, kColumns = 3 };

    /// A dialog showing \p config.
    SimulateFaultsDialog(const FaultConfig& config, QWidget* owner);

    /// The faults the rows hold and the seed; nullopt when a row cannot be
    /// read, and \p problem (when given) then says which and why.
    std::optional<FaultConfig> config(QString* problem = nullptr, int* badRow = nullptr) const;

    /// Adds a row for a new fault and starts editing its pattern.
    void AddFault();
    /// Removes the selected row.
    void RemoveFault();

    /// Closes the dialog only when every row can be read.
    void accept() override;

private:
    void AddRow(const Fault& fault);

    QTableWidget* m_table;
    QSpinBox* m_seed;
};

}  // namespace vexa::server
