#pragma once

class QDialog;
class QPushButton;
class QVBoxLayout;

namespace vexa::editors {

/// The "Ok", "Cancel" and "Help" column of the editors' dialogs.
struct DialogButtons {
    QVBoxLayout* column = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* help = nullptr;
};

/// Makes the three buttons on \p dialog, named after their texts, "Ok" the
/// default, stacked at the top of a column for the caller's layout.
DialogButtons AddDialogButtons(QDialog* dialog);

}  // namespace vexa::editors
