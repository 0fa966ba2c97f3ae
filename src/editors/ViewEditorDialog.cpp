#include "ViewEditorDialog.h"

#include "app/help/HelpTopics.h"
#include "document/Definitions.h"
#include "document/DisplayFormat.h"
#include "document/ProfileStore.h"
#include "document/ProfileWriteBatch.h"
#include "platform/AnsiText.h"
#include "platform/Messages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <utility>

namespace vexa::editors {

namespace {

constexpr int kGraphListHeight = 200;

}  // namespace

ViewEditorDialog::ViewEditorDialog(QListWidget& owner, std::string scratchFile)
    : EditorDialog(&owner, kTemplate, kCaption, app::kHelpViewDefinition),
      m_owner(owner),
      m_scratchFile(std::move(scratchFile)),
      m_index(owner.currentRow())
{
    m_section = ViewSectionName(m_index + 1);

    auto* titleFrame = new QGroupBox(QString::fromLatin1(kTitleFrameCaption), this);
    titleFrame->setObjectName(titleFrame->title());
    m_title = new QLineEdit(titleFrame);
    m_title->setObjectName(titleFrame->title());
    m_title->setAccessibleName(titleFrame->title());
    m_title->setMaxLength(kTitleLength);
    (new QVBoxLayout(titleFrame))->addWidget(m_title);

    auto* graphsFrame = new QGroupBox(QString::fromLatin1(kGraphsFrameCaption), this);
    graphsFrame->setObjectName(graphsFrame->title());
    auto* graphsText = new QLabel(QString::fromLatin1(kGraphsText), graphsFrame);
    graphsText->setWordWrap(true);
    m_graphs = new QListWidget(graphsFrame);
    m_graphs->setObjectName(graphsFrame->title());
    m_graphs->setAccessibleName(graphsFrame->title());
    m_graphs->setAccessibleDescription(graphsText->text());
    m_graphs->setSelectionMode(QAbstractItemView::MultiSelection);
    m_graphs->setMinimumHeight(kGraphListHeight);
    graphsText->setBuddy(m_graphs);
    auto* graphsLayout = new QVBoxLayout(graphsFrame);
    graphsLayout->addWidget(graphsText);
    graphsLayout->addWidget(m_graphs);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    addOkCancelHelp(*buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleFrame);
    layout->addWidget(graphsFrame);
    layout->addLayout(buttons);

    for (const std::string& title : ReadDefinitionTitles(kGraphPrefix, m_scratchFile, kMaxGraphs))
        m_graphs->addItem(FromAnsi(title));
    m_title->setText(FromAnsi(profile::ReadString(m_section, kTitleKey, "", m_scratchFile, kTitleCapacity)));
    // Every entry number is looked at, as opening the view does, so that the
    // editor shows each graph that the view opens.
    for (int entry = 1; entry <= kMaxGraphsPerView; ++entry) {
        const QString named = FromAnsi(ViewEntry(m_index + 1, entry, m_scratchFile));
        if (named.isEmpty())
            continue;
        for (int row = 0; row < m_graphs->count(); ++row) {
            if (m_graphs->item(row)->text().compare(named, Qt::CaseInsensitive) == 0) {
                m_graphs->item(row)->setSelected(true);
                break;
            }
        }
    }

    connect(m_title, &QLineEdit::textEdited, this, [this] { setModified(); });
    connect(m_graphs, &QListWidget::itemSelectionChanged, this, [this] { setModified(); });
    place(&owner);
}

void ViewEditorDialog::refuse(const char* text, const char* caption)
{
    Beep();
    ShowMessage(this, QString::fromLatin1(text), QString::fromLatin1(caption), MessageIcon::Information);
}

void ViewEditorDialog::confirm()
{
    if (!isModified()) {
        finish(0);
        return;
    }
    // The store trims the blanks around a value, so they are no part of it.
    const QString title = m_title->text().trimmed();
    // An empty title would end the list of views there, hiding this view and
    // every later one.
    if (title.isEmpty()) {
        refuse(kEmptyTitleText, kIllegalTitleCaption);
        return;
    }
    for (int row = 0; row < m_owner.count(); ++row) {
        if (row != m_index && m_owner.item(row)->text() == title) {
            refuse(kTitleInUseText, kIllegalTitleCaption);
            return;
        }
    }
    if (m_graphs->selectedItems().isEmpty()) {
        refuse(kNoGraphsText, kNoGraphsCaption);
        return;
    }
    write(ToAnsi(title));
    if (QListWidgetItem* entry = m_owner.item(m_index)) {
        entry->setText(title);
        m_owner.setCurrentItem(entry);
    }
    finish(1);
}

void ViewEditorDialog::write(const std::string& title) const
{
    const ProfileWriteBatch batch(m_scratchFile);
    for (int entry = 1; entry <= kMaxGraphsPerView; ++entry)
        profile::DeleteKey(m_section, NumberedKey(kViewEntryKeyStem, entry), m_scratchFile);
    profile::WriteString(m_section, kTitleKey, title, m_scratchFile);
    int entry = 0;
    for (int row = 0; row < m_graphs->count(); ++row) {
        if (m_graphs->item(row)->isSelected())
            profile::WriteString(m_section, NumberedKey(kViewEntryKeyStem, ++entry),
                                 ToAnsi(m_graphs->item(row)->text()), m_scratchFile);
    }
}

int EditView(QListWidget& owner, const std::string& scratchDisplayFile)
{
    if (owner.currentRow() < 0)
        return 0;
    ViewEditorDialog dialog(owner, scratchDisplayFile);
    return RunEditorDialog(dialog, &owner);
}

}  // namespace vexa::editors
