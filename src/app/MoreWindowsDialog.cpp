#include "MoreWindowsDialog.h"

#include "document/Definitions.h"
#include "app/FrameCommand.h"
#include "app/help/HelpTopics.h"
#include "app/help/HelpWindow.h"
#include "document/Definitions.h"
#include "document/DisplayFormat.h"
#include "link/client/NameList.h"
#include "platform/AnsiText.h"
#include "platform/DialogConventions.h"
#include "platform/DialogPlacement.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <vector>

namespace vexa::app {

namespace {

constexpr int kListWidth = 260;
constexpr int kListHeight = 200;

QPushButton* AddButton(QVBoxLayout* column, const char* text)
{
    auto* button = new QPushButton(QString::fromLatin1(text));
    button->setObjectName(QString::fromLatin1(text));
    column->addWidget(button);
    return button;
}

}  // namespace

MoreWindowsDialog::MoreWindowsDialog(QWidget* owner, int command, std::string displayFile,
                                     const QStringList& openCaptions)
    : QDialog(owner), m_graphs(command != kMoreViewsCommand), m_displayFile(std::move(displayFile))
{
    setWindowTitle(QString::fromLatin1(m_graphs ? kGraphCaption : kViewCaption));
    m_list = new QListWidget(this);
    m_list->setObjectName(QString::fromLatin1(kListName));
    m_list->setSortingEnabled(false);
    m_list->setMinimumSize(kListWidth, kListHeight);

    auto* buttons = new QVBoxLayout;
    QPushButton* ok = AddButton(buttons, kOkName);
    QPushButton* cancel = AddButton(buttons, kCancelName);
    QPushButton* help = AddButton(buttons, kHelpName);
    buttons->addStretch();
    ok->setDefault(true);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    QStringList titles;
    if (m_graphs) {
        // Every titled graph section is offered; a gap does not end the walk.
        for (int number = 1; number <= kMaxGraphs; ++number) {
            if (const std::string title = GraphTitle(number, m_displayFile); !title.empty())
                titles << FromAnsi(title);
        }
        // The graphs that have a window are not offered again. A caption
        // takes away the first entry it matches, compared as a list search
        // compares: without regard to case.
        for (const QString& caption : openCaptions) {
            const auto found = std::find_if(titles.begin(), titles.end(), [&caption](const QString& title) {
                return title.compare(caption, Qt::CaseInsensitive) == 0;
            });
            if (found != titles.end())
                titles.erase(found);
        }
    } else {
        for (const std::string& title : ReadDefinitionTitles(kViewPrefix, m_displayFile, kMaxMenuViews))
            titles << FromAnsi(title);
    }
    m_list->addItems(titles);

    connect(ok, &QPushButton::clicked, this, &MoreWindowsDialog::choose);
    connect(cancel, &QPushButton::clicked, this, &MoreWindowsDialog::reject);
    connect(help, &QPushButton::clicked, this, &MoreWindowsDialog::showHelp);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &MoreWindowsDialog::chooseEntry);

    adjustSize();
    CentreDialog(*this, owner);
}

void MoreWindowsDialog::choose()
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    chooseEntry(selected.isEmpty() ? nullptr : selected.first());
}

void MoreWindowsDialog::chooseEntry(const QListWidgetItem* entry)
{
    if (entry == nullptr) {
        m_chosen = kNone;
        accept();
        return;
    }
    const int index = indexOfTitle(ToAnsi(entry->text()));
    if (index == kNone)
        return;
    m_chosen = index;
    accept();
}

int MoreWindowsDialog::indexOfTitle(const std::string& title) const
{
    if (m_graphs) {
        // Compared exactly, over every graph section, as the list was filled.
        const int number = link::FindGraphByTitle(title, m_displayFile);
        return number > 0 ? number - 1 : kNone;
    }
    const std::vector<std::string> titles = ReadDefinitionTitles(kViewPrefix, m_displayFile, kMaxMenuViews);
    for (std::size_t index = 0; index < titles.size(); ++index) {
        if (titles[index] == title)
            return static_cast<int>(index);
    }
    return kNone;
}

void MoreWindowsDialog::showHelp()
{
    ShowHelpPopup(this, kHelpGraphOrViewSelection);
}

int ChooseMoreWindows(QWidget* owner, int command, const std::string& displayFile, const QMdiArea& area)
{
    QStringList captions;
    for (const QMdiSubWindow* child : area.subWindowList())
        captions << child->windowTitle();
    MoreWindowsDialog dialog(owner, command, displayFile, captions);
    const int result = dialog.exec();
    // exec() refuses with -1 when the dialog cannot run its own loop.
    if (result < 0) {
        ReportDialogFailure(owner);
        return MoreWindowsDialog::kNone;
    }
    return dialog.chosenIndex();
}

}  // namespace vexa::app
