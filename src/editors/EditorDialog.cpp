#include "EditorDialog.h"

#include "app/help/HelpWindow.h"
#include "editors/graph/DialogButtons.h"
#include "platform/DialogConventions.h"
#include "platform/DialogPlacement.h"

#include <QApplication>
#include <QBoxLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace vexa::editors {

EditorDialog::EditorDialog(QWidget* owner, const char* templateName, const char* caption, int helpTopic)
    : QDialog(owner), m_helpTopic(helpTopic)
{
    setObjectName(QString::fromLatin1(templateName));
    setWindowTitle(QString::fromLatin1(caption));
    setAccessibleName(windowTitle());
}

void EditorDialog::reject()
{
    requestClose();
}

bool EditorDialog::requestClose()
{
    if (m_finished)
        return true;
    switch (ConfirmCancel(this, m_modified)) {
    case CancelChoice::Close:
        finish(0);
        return true;
    case CancelChoice::SaveFirst:
        confirm();
        return m_finished;
    case CancelChoice::Stay:
        break;
    }
    return false;
}

void EditorDialog::finish(int result)
{
    if (m_finished)
        return;
    m_finished = true;
    done(result);
}

void EditorDialog::finishCommitted(const std::function<bool()>& commit)
{
    const bool replaced = m_modified && commit();
    finish(replaced ? 1 : 0);
}

QListWidget* EditorDialog::addFramedList(QBoxLayout& layout, const char* frameCaption, const QString& objectName,
                                         const QSize& minimumSize)
{
    auto* frame = new QGroupBox(QString::fromLatin1(frameCaption), this);
    frame->setObjectName(frame->title());
    auto* list = new QListWidget(frame);
    list->setObjectName(objectName);
    list->setAccessibleName(frame->title());
    list->setMinimumSize(minimumSize);
    (new QVBoxLayout(frame))->addWidget(list);
    layout.addWidget(frame);
    return list;
}

QPushButton* EditorDialog::addButton(QBoxLayout& layout, const char* text)
{
    return AddDialogButton(this, layout, text);
}

void EditorDialog::addOkCancelHelp(QBoxLayout& layout)
{
    QPushButton* ok = addButton(layout, "Ok");
    ok->setDefault(true);
    QPushButton* cancel = addButton(layout, "Cancel");
    QPushButton* help = addButton(layout, "Help");
    connect(ok, &QPushButton::clicked, this, [this] {
        if (!m_finished)
            confirm();
    });
    connect(cancel, &QPushButton::clicked, this, &EditorDialog::reject);
    connect(help, &QPushButton::clicked, this, &EditorDialog::showHelp);
}

void EditorDialog::place(QWidget* owner)
{
    adjustSize();
    CentreDialog(*this, owner);
}

void EditorDialog::showHelp()
{
    app::ShowHelpTopic(this, m_helpTopic);
}

int RunEditorDialog(EditorDialog& dialog, QWidget* owner)
{
    const int result = dialog.exec();
    // exec() refuses with -1 when the dialog cannot run its own loop.
    if (result < 0) {
        ReportDialogFailure(owner);
        return 0;
    }
    return result;
}

namespace {

/// How many definition dialogs \p dialog is opened from.
int NestingOf(const QWidget& dialog)
{
    int depth = 0;
    for (const QWidget* above = dialog.parentWidget(); above != nullptr; above = above->parentWidget()) {
        if (qobject_cast<const EditorDialog*>(above) != nullptr)
            ++depth;
    }
    return depth;
}

}  // namespace

bool CloseOpenEditors()
{
    std::vector<EditorDialog*> open;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* editor = qobject_cast<EditorDialog*>(window);
        if (editor != nullptr && editor->isVisible() && !editor->isFinished())
            open.push_back(editor);
    }
    std::stable_sort(open.begin(), open.end(), [](const EditorDialog* a, const EditorDialog* b) {
        return NestingOf(*a) > NestingOf(*b);
    });
    return std::all_of(open.begin(), open.end(), [](EditorDialog* editor) { return editor->requestClose(); });
}

}  // namespace vexa::editors
