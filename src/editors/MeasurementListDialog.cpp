#include "MeasurementListDialog.h"

#include "MeasurementDefinitionDialog.h"
#include "app/help/HelpTopics.h"
#include "document/DocumentPaths.h"
#include "document/ProfileStore.h"
#include "document/ScratchCopy.h"
#include "link/client/NameList.h"
#include "platform/AnsiText.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>
#include <utility>

namespace vexa::editors {

namespace {

constexpr int kListWidth = 240;
constexpr int kListHeight = 220;

/// The order of a sorted list: without regard to case, then by case.
bool SortsBefore(const QString& a, const QString& b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

/// Shows the wait cursor while it lives.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

QListWidgetItem* FindMeasurement(const QListWidget& list, const QString& name, const QListWidgetItem* skip)
{
    for (int row = 0; row < list.count(); ++row) {
        QListWidgetItem* entry = list.item(row);
        if (entry != skip && entry->text().compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return nullptr;
}

void PlaceMeasurement(QListWidget& list, const QString& name, QListWidgetItem* entry)
{
    if (entry != nullptr)
        list.takeItem(list.row(entry));
    else
        entry = new QListWidgetItem;
    entry->setText(name);
    int row = 0;
    while (row < list.count() && SortsBefore(list.item(row)->text(), name))
        ++row;
    list.insertItem(row, entry);
    list.setCurrentItem(entry);
}

MeasurementListDialog::MeasurementListDialog(QWidget* owner, std::string scratchFile, std::function<bool()> commit)
    : EditorDialog(owner, kTemplate, kCaption, app::kHelpMeasurementList),
      m_scratchFile(std::move(scratchFile)),
      m_commit(std::move(commit))
{
    auto* layout = new QHBoxLayout(this);
    m_list = addFramedList(*layout, kFrameCaption, QString::fromLatin1(kFrameCaption), {kListWidth, kListHeight});
    auto* buttons = new QVBoxLayout;
    QPushButton* add = addButton(*buttons, "Add");
    m_edit = addButton(*buttons, "Edit");
    m_delete = addButton(*buttons, "Delete");
    addOkCancelHelp(*buttons);
    buttons->addStretch();
    layout->addLayout(buttons);

    for (const QString& name : link::ReadNamesFromMvx(this, m_scratchFile))
        PlaceMeasurement(*m_list, name, nullptr);
    m_list->setCurrentItem(nullptr);
    m_list->clearSelection();

    connect(add, &QPushButton::clicked, this, &MeasurementListDialog::add);
    connect(m_edit, &QPushButton::clicked, this, &MeasurementListDialog::edit);
    connect(m_delete, &QPushButton::clicked, this, &MeasurementListDialog::remove);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &MeasurementListDialog::edit);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &MeasurementListDialog::updateButtons);
    updateButtons();
    place(owner);
}

void MeasurementListDialog::updateButtons()
{
    const bool selected = !m_list->selectedItems().isEmpty();
    m_edit->setEnabled(selected);
    m_delete->setEnabled(selected);
}

void MeasurementListDialog::add()
{
    if (isFinished())
        return;
    const int remembered = m_list->currentRow();
    const bool wasSelected = !m_list->selectedItems().isEmpty();
    m_list->clearSelection();
    if (EditMeasurement(*m_list, m_scratchFile) == 1) {
        setModified();
        return;
    }
    if (wasSelected)
        m_list->setCurrentRow(remembered);
}

void MeasurementListDialog::edit()
{
    if (isFinished() || m_list->selectedItems().isEmpty())
        return;
    if (EditMeasurement(*m_list, m_scratchFile) == 1)
        setModified();
}

void MeasurementListDialog::remove()
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (isFinished() || selected.isEmpty())
        return;
    if (ShowMessage(this, QString::fromLatin1(kDeleteText), QString::fromLatin1(kDeleteCaption),
                    MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    QListWidgetItem* entry = m_list->takeItem(m_list->row(selected.first()));
    profile::DeleteSection(ToAnsi(entry->text()), m_scratchFile);
    delete entry;
    setModified();
    updateButtons();
}

void MeasurementListDialog::confirm()
{
    finishCommitted(m_commit);
}

int EditMeasurements(QWidget* owner, const std::string& workingMeasurementCopy)
{
    std::unique_ptr<ScratchCopy> scratch = ScratchCopy::Begin(owner, EditorKind::Measurements, workingMeasurementCopy);
    if (!scratch)
        return 0;
    std::unique_ptr<MeasurementListDialog> dialog;
    {
        const WaitCursor waiting;
        dialog = std::make_unique<MeasurementListDialog>(owner, scratch->path(),
                                                         [&scratch, owner] { return scratch->commit(owner, true); });
    }
    return RunEditorDialog(*dialog, owner);
}

}  // namespace vexa::editors
