#include "server/SimulateFaultsDialog.h"

#include "platform/AnsiText.h"
#include "platform/Messages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vexa::server {

namespace {

constexpr const char* kProblemCaption = "ERROR: Illegal Value Entered";
/// What a new row starts as: a little noise on every name.
constexpr const char* kNewPattern = "*";
constexpr double kNewNoise = 1.0;
/// The pattern column holds a whole measurement name.
constexpr int kPatternCharacters = 32;
constexpr int kTableMinimumWidth = 640;

QString FormsHelp()
{
    QStringList lines;
    for (const FaultKind kind : AllFaultKinds())
        lines.append(QStringLiteral("%1: %2").arg(QLatin1String(FaultKindName(kind)),
                                                  QLatin1String(FaultArgumentsForm(kind))));
    return QStringLiteral("Patterns: * any characters, ? one character, letters in either case. "
                          "A step is 0.1\u00a0s; chances are per step, times in seconds.\n")
           + lines.join(QStringLiteral(";  "));
}

}  // namespace

SimulateFaultsDialog::SimulateFaultsDialog(const FaultConfig& config, QWidget* owner) : QDialog(owner)
{
    setWindowTitle(QString::fromLatin1(kTitle));
    setObjectName(QStringLiteral("SimulateFaultsDialog"));

    auto* faultsLabel = new QLabel(QStringLiteral("&Faults of simulated values:"));
    m_table = new QTableWidget(0, kColumns);
    m_table->setObjectName(QStringLiteral("faults"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Pattern"), QStringLiteral("Kind"), QStringLiteral("Arguments")});
    m_table->horizontalHeader()->setSectionResizeMode(kArgumentsColumn, QHeaderView::Stretch);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setTabKeyNavigation(false);
    m_table->setMinimumWidth(kTableMinimumWidth);
    m_table->setColumnWidth(kPatternColumn, m_table->fontMetrics().averageCharWidth() * kPatternCharacters);
    faultsLabel->setBuddy(m_table);
    m_table->setAccessibleName(QStringLiteral("Faults of simulated values"));
    for (const Fault& fault : config.faults)
        AddRow(fault);

    auto* add = new QPushButton(QStringLiteral("&Add"));
    add->setObjectName(QStringLiteral("add"));
    auto* remove = new QPushButton(QStringLiteral("&Remove"));
    remove->setObjectName(QStringLiteral("remove"));
    connect(add, &QPushButton::clicked, this, &SimulateFaultsDialog::AddFault);
    connect(remove, &QPushButton::clicked, this, &SimulateFaultsDialog::RemoveFault);
    auto* rowButtons = new QHBoxLayout;
    rowButtons->addWidget(add);
    rowButtons->addWidget(remove);
    rowButtons->addStretch();

    auto* help = new QLabel(FormsHelp());
    help->setObjectName(QStringLiteral("forms"));
    help->setWordWrap(true);

    auto* seedLabel = new QLabel(QStringLiteral("&Seed of the faults' random numbers:"));
    m_seed = new QSpinBox;
    m_seed->setObjectName(QStringLiteral("seed"));
    m_seed->setRange(0, int(FaultConfig::kMaxSeed));
    m_seed->setValue(int(config.seed));
    seedLabel->setBuddy(m_seed);
    auto* seedRow = new QHBoxLayout;
    seedRow->addWidget(seedLabel);
    seedRow->addWidget(m_seed);
    seedRow->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SimulateFaultsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SimulateFaultsDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(faultsLabel);
    layout->addWidget(m_table);
    layout->addLayout(rowButtons);
    layout->addWidget(help);
    layout->addLayout(seedRow);
    layout->addWidget(buttons);
    setTabOrder(m_table, add);
    setTabOrder(add, remove);
    setTabOrder(remove, m_seed);
}

void SimulateFaultsDialog::AddRow(const Fault& fault)
{
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    m_table->setItem(row, kPatternColumn, new QTableWidgetItem(FromAnsi(fault.pattern)));
    auto* kind = new QComboBox;
    kind->setAccessibleName(QStringLiteral("Kind"));
    for (const FaultKind each : AllFaultKinds())
        kind->addItem(QLatin1String(FaultKindName(each)), int(each));
    kind->setCurrentIndex(kind->findData(int(fault.kind)));
    m_table->setCellWidget(row, kKindColumn, kind);
    m_table->setItem(row, kArgumentsColumn, new QTableWidgetItem(QString::fromStdString(FaultArguments(fault))));
}

void SimulateFaultsDialog::AddFault()
{
    Fault fault;
    fault.pattern = kNewPattern;
    fault.kind = FaultKind::Noise;
    fault.amount = kNewNoise;
    AddRow(fault);
    const int row = m_table->rowCount() - 1;
    m_table->setCurrentCell(row, kPatternColumn);
    m_table->editItem(m_table->item(row, kPatternColumn));
}

void SimulateFaultsDialog::RemoveFault()
{
    const int row = m_table->currentRow();
    if (row >= 0)
        m_table->removeRow(row);
}

std::optional<FaultConfig> SimulateFaultsDialog::config(QString* problem, int* badRow) const
{
    FaultConfig config;
    config.seed = std::uint32_t(m_seed->value());
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const auto* kind = qobject_cast<const QComboBox*>(m_table->cellWidget(row, kKindColumn));
        auto text = [this, row](int column) {
            const QTableWidgetItem* item = m_table->item(row, column);
            return item != nullptr ? item->text() : QString();
        };
        const QString written = text(kPatternColumn) + QLatin1Char(':') + kind->currentText() + QLatin1Char('=')
                                + text(kArgumentsColumn);
        FaultParse parsed = ParseFault(ToAnsi(written));
        if (!parsed.fault.has_value()) {
            if (problem != nullptr)
                *problem = QStringLiteral("Fault %1 (%2) cannot be used: %3.").arg(row + 1).arg(written, parsed.error);
            if (badRow != nullptr)
                *badRow = row;
            return std::nullopt;
        }
        config.faults.push_back(std::move(*parsed.fault));
    }
    return config;
}

void SimulateFaultsDialog::accept()
{
    QString problem;
    int badRow = -1;
    if (!config(&problem, &badRow).has_value()) {
        m_table->selectRow(badRow);
        ShowMessage(this, problem, QString::fromLatin1(kProblemCaption), MessageIcon::Information);
        return;
    }
    QDialog::accept();
}

}  // namespace vexa::server
