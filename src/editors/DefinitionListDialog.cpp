#include "DefinitionListDialog.h"

#include "ViewEditorDialog.h"
#include "app/help/HelpTopics.h"
#include "document/Definitions.h"
#include "document/DisplayFormat.h"
#include "document/ProfileStore.h"
#include "document/ScratchCopy.h"
#include "editors/graph/GraphEditor.h"
#include "platform/AnsiText.h"
#include "platform/Messages.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>
#include <utility>

namespace vexa::editors {

namespace {

constexpr int kListWidth = 260;
constexpr int kListHeight = 240;
/// What an added entry shows until its editor has saved a title.
constexpr const char* kBlankEntry = " ";

}  // namespace

DefinitionListDialog::DefinitionListDialog(QWidget* owner, DefinitionKind kind, std::string scratchFile,
                                           std::string measurementFile, std::function<bool()> commit)
    : EditorDialog(owner, kTemplate, kind == DefinitionKind::Graphs ? kGraphCaption : kViewCaption,
                   kind == DefinitionKind::Graphs ? app::kHelpGraphList : app::kHelpViewList),
      m_kind(kind),
      m_scratchFile(std::move(scratchFile)),
      m_measurementFile(std::move(measurementFile)),
      m_commit(std::move(commit))
{
    auto* layout = new QHBoxLayout(this);
    m_list = addFramedList(*layout, kind == DefinitionKind::Graphs ? kGraphFrameCaption : kViewFrameCaption,
                           QString::fromLatin1(kListName), {kListWidth, kListHeight});
    auto* buttons = new QVBoxLayout;
    m_add = addButton(*buttons, "Add");
    m_edit = addButton(*buttons, "Edit");
    m_delete = addButton(*buttons, "Delete");
    m_duplicate = addButton(*buttons, "Duplicate");
    addOkCancelHelp(*buttons);
    buttons->addStretch();
    layout->addLayout(buttons);

    fill();
    connect(m_add, &QPushButton::clicked, this, &DefinitionListDialog::add);
    connect(m_edit, &QPushButton::clicked, this, &DefinitionListDialog::edit);
    connect(m_delete, &QPushButton::clicked, this, &DefinitionListDialog::remove);
    connect(m_duplicate, &QPushButton::clicked, this, &DefinitionListDialog::duplicate);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &DefinitionListDialog::edit);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &DefinitionListDialog::updateButtons);
    updateButtons();
    place(owner);
}

char DefinitionListDialog::prefix() const
{
    return m_kind == DefinitionKind::Graphs ? kGraphPrefix : kViewPrefix;
}

int DefinitionListDialog::mostEntries() const
{
    return m_kind == DefinitionKind::Graphs ? kMaxGraphs : 0;
}

void DefinitionListDialog::fill()
{
    m_list->clear();
    for (const std::string& title : ReadDefinitionTitles(prefix(), m_scratchFile, mostEntries()))
        m_list->addItem(FromAnsi(title));
}

void DefinitionListDialog::updateButtons()
{
    const bool selected = !m_list->selectedItems().isEmpty();
    const int count = m_list->count();
    const int most = mostEntries();
    m_edit->setEnabled(selected);
    m_delete->setEnabled(selected);
    m_add->setEnabled(most == 0 || count < most);
    m_duplicate->setEnabled(selected && (most == 0 || count < most - 1));
}

int DefinitionListDialog::runEditor()
{
    if (m_kind == DefinitionKind::Graphs)
        return EditGraph(*m_list, m_scratchFile, m_measurementFile);
    return EditView(*m_list, m_scratchFile);
}

void DefinitionListDialog::add()
{
    if (isFinished() || !m_add->isEnabled())
        return;
    // A section behind the last titled one is no definition; the new one
    // starts without its keys.
    profile::DeleteSection(SectionName(prefix(), m_list->count() + 1), m_scratchFile);
    auto* entry = new QListWidgetItem(QString::fromLatin1(kBlankEntry), m_list);
    m_list->setCurrentItem(entry);
    if (runEditor() == 1) {
        setModified();
    } else {
        delete m_list->takeItem(m_list->row(entry));
        m_list->clearSelection();
    }
    updateButtons();
}

void DefinitionListDialog::edit()
{
    if (isFinished() || m_list->selectedItems().isEmpty())
        return;
    if (runEditor() == 1)
        setModified();
}

void DefinitionListDialog::remove()
{
    if (isFinished() || m_list->selectedItems().isEmpty())
        return;
    if (ShowMessage(this, QString::fromLatin1(kDeleteText),
                    QString::fromLatin1(m_kind == DefinitionKind::Graphs ? kGraphDeleteCaption : kViewDeleteCaption),
                    MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    const int row = m_list->currentRow();
    if (m_kind == DefinitionKind::Graphs)
        DeleteGraph(row + 1, m_scratchFile);
    else
        DeleteView(row + 1, m_scratchFile);
    delete m_list->takeItem(row);
    if (m_list->count() > 0)
        m_list->setCurrentRow(row < m_list->count() ? row : row - 1);
    setModified();
    updateButtons();
}

void DefinitionListDialog::duplicate()
{
    if (isFinished() || !m_duplicate->isEnabled())
        return;
    const std::vector<std::string> titles = ReadDefinitionTitles(prefix(), m_scratchFile, mostEntries());
    const int copy = DuplicateDefinition(prefix(), m_list->currentRow() + 1, titles, m_scratchFile);
    fill();
    if (copy > 0) {
        m_list->setCurrentRow(copy - 1);
        setModified();
    }
    updateButtons();
}

void DefinitionListDialog::confirm()
{
    finishCommitted(m_commit);
}

namespace {

int RunDefinitionList(QWidget* owner, DefinitionKind kind, const std::string& workingDisplayCopy,
                      const std::string& workingMeasurementCopy)
{
    std::unique_ptr<ScratchCopy> scratch = ScratchCopy::Begin(
        owner, kind == DefinitionKind::Graphs ? EditorKind::Graphs : EditorKind::Views, workingDisplayCopy);
    if (!scratch)
        return 0;
    DefinitionListDialog dialog(owner, kind, scratch->path(), workingMeasurementCopy,
                                [&scratch, owner] { return scratch->commit(owner, true); });
    return RunEditorDialog(dialog, owner);
}

}  // namespace

int EditGraphDefinitions(QWidget* owner, const std::string& workingDisplayCopy,
                         const std::string& workingMeasurementCopy)
{
    return RunDefinitionList(owner, DefinitionKind::Graphs, workingDisplayCopy, workingMeasurementCopy);
}

int EditViewDefinitions(QWidget* owner, const std::string& workingDisplayCopy)
{
    return RunDefinitionList(owner, DefinitionKind::Views, workingDisplayCopy, {});
}

}  // namespace vexa::editors
