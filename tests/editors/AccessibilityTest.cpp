#include "EditorTestSupport.h"

#include "editors/DefinitionListDialog.h"
#include "editors/MeasurementDefinitionDialog.h"
#include "editors/MeasurementListDialog.h"
#include "editors/ViewEditorDialog.h"

#include <QAbstractButton>
#include <QListWidget>

namespace vexa::test {
namespace {

/// The accessible names of the controls that Tab reaches in \p dialog, in
/// the order it reaches them.
QStringList TabChain(QWidget& dialog)
{
    QStringList names;
    QWidget* widget = &dialog;
    do {
        widget = widget->nextInFocusChain();
        if (widget != &dialog && (widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(&dialog))
            names << widget->accessibleName();
    } while (widget != &dialog);
    return names;
}

/// Every button keeps its text as its accessible name.
void ExpectButtonsNamedByText(QWidget& dialog)
{
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        EXPECT_EQ(button->accessibleName(), button->text());
}

class Accessibility : public EditorTest {};

TEST_F(Accessibility, EveryDialogIsWalkedByTabInReadingOrderUnderItsCaptions)
{
    const std::string scratch = writeWorkingCopy(
        "VEXATMP.TMP",
        "[Pump]\r\nE=Coefficients\r\n[W1]\r\nT=Alpha\r\n[V1]\r\nT=Main\r\nW1=Alpha\r\n");
    const QStringList okCancelHelp{"Ok", "Cancel", "Help"};

    editors::MeasurementListDialog measurements(nullptr, scratch, [] { return false; });
    EXPECT_EQ(TabChain(measurements), QStringList({"Defined Measurements", "Add", "Edit", "Delete"}) + okCancelHelp);
    ExpectButtonsNamedByText(measurements);

    measurements.list()->setCurrentRow(0);
    DriveModal<editors::MeasurementDefinitionDialog>([&](editors::MeasurementDefinitionDialog& definition) {
        EXPECT_EQ(TabChain(definition),
                  QStringList({"Name", "Minimum Value", "Maximum Value", "Units", "Measurement Description",
                               "Conversion Type", "Offset:", "1st:", "2nd:", "3rd:", "4th:", "5th:", "6th:"}) +
                      okCancelHelp);
        ExpectButtonsNamedByText(definition);
        definition.reject();
    });
    measurements.edit();

    for (editors::DefinitionKind kind : {editors::DefinitionKind::Graphs, editors::DefinitionKind::Views}) {
        editors::DefinitionListDialog list(nullptr, kind, scratch, {}, [] { return false; });
        const QString frame = kind == editors::DefinitionKind::Graphs ? "Defined Graphs" : "Defined Views";
        EXPECT_EQ(TabChain(list), QStringList({frame, "Add", "Edit", "Delete", "Duplicate"}) + okCancelHelp);
        ExpectButtonsNamedByText(list);
        if (kind == editors::DefinitionKind::Views) {
            list.list()->setCurrentRow(0);
            DriveModal<editors::ViewEditorDialog>([&](editors::ViewEditorDialog& view) {
                EXPECT_EQ(TabChain(view), QStringList({"View Title", "Selected Graphs"}) + okCancelHelp);
                ExpectButtonsNamedByText(view);
                view.reject();
            });
            list.edit();
        }
    }
}

}  // namespace
}  // namespace vexa::test
