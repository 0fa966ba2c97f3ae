#include "DialogButtons.h"

#include "platform/DialogConventions.h"

#include <QDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexa::editors {

QPushButton* AddDialogButton(QWidget* parent, QBoxLayout& layout, const char* text)
{
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(button->text());
    button->setAccessibleName(button->text());
    button->setAutoDefault(false);
    layout.addWidget(button);
    return button;
}

DialogButtons AddDialogButtons(QDialog* dialog)
{
    DialogButtons buttons;
    buttons.column = new QVBoxLayout;
    buttons.ok = AddDialogButton(dialog, *buttons.column, "Ok");
    buttons.cancel = AddDialogButton(dialog, *buttons.column, "Cancel");
    buttons.help = AddDialogButton(dialog, *buttons.column, "Help");
    buttons.ok->setDefault(true);
    buttons.column->addStretch();
    return buttons;
}

void ConfirmCancelAnd(QDialog* dialog, bool modified, const std::function<void()>& saveFirst,
                      const std::function<void()>& close)
{
    switch (ConfirmCancel(dialog, modified)) {
    case CancelChoice::Close:
        close();
        break;
    case CancelChoice::SaveFirst:
        saveFirst();
        break;
    case CancelChoice::Stay:
        break;
    }
}

}  // namespace vexa::editors
