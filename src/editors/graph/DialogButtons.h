#pragma once

#include <functional>

class QBoxLayout;
class QDialog;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace vexa::editors {

/// The "Ok", "Cancel" and "Help" column of the editors' dialogs.
struct DialogButtons {
    QVBoxLayout* column = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* help = nullptr;
};

/// A push button on \p parent added to \p layout, whose object and
/// accessible names are its text. It takes no Enter of its own, which
/// belongs to the dialog's default button.
QPushButton* AddDialogButton(QWidget* parent, QBoxLayout& layout, const char* text);

/// Makes the three buttons on \p dialog, named after their texts, "Ok" the
/// default, stacked at the top of a column for the caller's layout.
DialogButtons AddDialogButtons(QDialog* dialog);

/// What Cancel and the close box do in the editors: without changes \p close
/// runs; with changes the "Cancel Dialog" question decides between
/// \p saveFirst (Yes), \p close (No) and staying open (Cancel).
void ConfirmCancelAnd(QDialog* dialog, bool modified, const std::function<void()>& saveFirst,
                      const std::function<void()>& close);

}  // namespace vexa::editors
