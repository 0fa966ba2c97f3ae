#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QBoxLayout;
class QListWidget;
class QPushButton;
class QWidget;

namespace vexa::editors {

/// What the definition dialogs share: the modified flag, Cancel and the close
/// box through the "Cancel Dialog" question, Help, and an end that happens
/// once however often Ok or Cancel is pressed.
class EditorDialog : public QDialog {
    Q_OBJECT
public:
    bool isModified() const { return m_modified; }
    /// True once the dialog has ended; further commands are ignored.
    bool isFinished() const { return m_finished; }

    /// The close request of the program: the same question as Cancel. False
    /// when the user chose to keep the dialog open (or its Ok failed a check).
    bool requestClose();

    /// Cancel, Escape and the close box.
    void reject() override;

protected:
    EditorDialog(QWidget* owner, const char* templateName, const char* caption, int helpTopic);

    void setModified() { m_modified = true; }

    /// The dialog's Ok.
    virtual void confirm() = 0;

    /// Ends the dialog with \p result, once.
    void finish(int result);
    /// A list dialog's Ok: after a change \p commit hands the scratch copy
    /// back; the result is 1 when that worked, otherwise 0.
    void finishCommitted(const std::function<bool()>& commit);

    /// A list in a frame captioned \p frameCaption, which is also the list's
    /// accessible name, added to \p layout.
    QListWidget* addFramedList(QBoxLayout& layout, const char* frameCaption, const QString& objectName,
                               const QSize& minimumSize);

    /// A push button whose object and accessible names are its text.
    QPushButton* addButton(QBoxLayout& layout, const char* text);
    /// The Ok, Cancel and Help column (Ok the default button).
    void addOkCancelHelp(QBoxLayout& layout);

    /// Centres the dialog over its owner and lets it keep its size.
    void place(QWidget* owner);

private:
    void showHelp();

    int m_helpTopic = 0;
    bool m_modified = false;
    bool m_finished = false;
};

/// Runs \p dialog modally. Its result, or 0 after reporting "Unable to
/// display dialog" when it could not be shown.
int RunEditorDialog(EditorDialog& dialog, QWidget* owner);

/// Asks every open definition dialog to close as its close box would,
/// innermost first. True when all of them have ended (they leave their
/// modal loops once control returns there); false when the user kept one.
bool CloseOpenEditors();

}  // namespace vexa::editors
