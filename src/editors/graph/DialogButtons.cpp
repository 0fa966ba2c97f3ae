#include "DialogButtons.h"

#include "platform/DialogConventions.h"

#include <QDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexa::editors {

namespace {

QPushButton* AddButton(QDialog* dialog, QVBoxLayout* column, const char* text)
{
    auto* button = new QPushButton(QString::fromLatin1(text), dialog);
    button->setObjectName(QString::fromLatin1(text));
    button->setAutoDefault(false);
    column->addWidget(button);
    return button;
}

}  // namespace

DialogButtons AddDialogButtons(QDialog* dialog)
{
    DialogButtons buttons;
    buttons.column = new QVBoxLayout;
    buttons.ok = AddButton(dialog, buttons.column, "Ok");
    buttons.cancel = AddButton(dialog, buttons.column, "Cancel");
    buttons.help = AddButton(dialog, buttons.column, "Help");
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
