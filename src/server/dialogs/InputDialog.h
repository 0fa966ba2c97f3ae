#pragma once

#include "InputValidation.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QShowEvent;
class QWidget;

namespace vexa::server {

/// Asks for a whole number; the edit holds at most 50 characters and starts
/// with \p initial. nullopt when the user cancels.
std::optional<qint32> AskInteger(QWidget* owner, const QString& prompt, qint32 initial,
                                 QWidget* over = nullptr, bool offerLock = false);

/// Asks for a floating-point number; the edit starts with \p initial written
/// with six decimals. nullopt when the user cancels.
std::optional<double> AskFloatingPoint(QWidget* owner, const QString& prompt, double initial,
                                       QWidget* over = nullptr, bool offerLock = false);

/// Asks for a text of at most \p maxLength characters (no limit when it is 0
/// or less); with \p valueRequired a text of blanks alone is refused. The text
/// is returned as typed. nullopt when the user cancels.
std::optional<QString> AskText(QWidget* owner, const QString& prompt, const QString& initial, int maxLength,
                               bool valueRequired, QWidget* over = nullptr, bool offerLock = false);

/// Asks for a string of 0's and 1's, padded on the left with "0" to
/// \p demandedLength when that is above zero. nullopt when the user cancels.
std::optional<QString> AskBinaryText(QWidget* owner, const QString& prompt, const QString& initial,
                                     int demandedLength, QWidget* over = nullptr, bool offerLock = false);

/// Asks for one of \p items in a drop-down list, starting at \p initial (the
/// first item when \p initial is not an index of the list). Returns the
/// chosen index; nullopt when the user cancels or the list is empty.
std::optional<int> AskChoice(QWidget* owner, const QString& prompt, const QStringList& items, int initial,
                             QWidget* over = nullptr, bool offerLock = false);

/// The entry dialog behind the Ask functions: the prompt as its caption, one
/// entry control, "OK" and "Cancel", and optionally a box that keeps the
/// dialog where the user last put it. Controls carry their identifiers as
/// object names, so that they can be found.
class InputDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kObjectName = "InputDialog";
    static constexpr const char* kEntryName = "101";
    static constexpr const char* kLockBoxName = "102";
    static constexpr const char* kOkButtonName = "1";
    static constexpr const char* kCancelButtonName = "2";

    /// What the dialog asks for and where it opens.
    struct Setup {
        InputKind kind = InputKind::Text;
        QString prompt;           ///< the caption; "Enter Value" when empty
        QString initialText;      ///< the edit's first contents
        int maxLength = 0;        ///< the edit's limit; 0 or less for none of our own
        QStringList items;        ///< the drop-down list of a Choice dialog
        int initialChoice = 0;
        QWidget* over = nullptr;  ///< the control of the owner to open over; none: the screen's centre
        bool offerLock = false;   ///< show the box that locks the dialog's position
    };

    /// Checks the entry when OK is pressed: a failure is shown, and the dialog
    /// stays open; nullopt lets the dialog close as accepted.
    using Validator = std::function<std::optional<ValidationFailure>(const InputDialog& dialog)>;

    InputDialog(QWidget* owner, Setup setup, Validator validate);

    InputKind kind() const { return m_setup.kind; }
    /// The edit's text; empty for a Choice dialog.
    QString entryText() const;
    /// The list's current index; -1 for the edit kinds.
    int choiceIndex() const;
    /// True when the lock box is offered and checked.
    bool isLocked() const;

    /// Validates the entry; closes the dialog only when it is valid.
    void accept() override;
    /// Remembers, for the dialog's kind, whether it was locked and where it stood.
    void done(int result) override;

    /// Forgets every remembered position and lock.
    static void forgetPositions();

protected:
    /// Places the dialog as it appears, when its real frame may be known.
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void placeOnScreen();

    Setup m_setup;
    Validator m_validate;
    QLineEdit* m_edit = nullptr;
    QComboBox* m_list = nullptr;
    QWidget* m_entry = nullptr;
    QCheckBox* m_lockBox = nullptr;
};

}  // namespace vexa::server
