#pragma once

#include "Messages.h"

#include <QString>

class QWidget;

/// What every dialog of the display program does alike: the question before
/// changes are thrown away, and the report of a dialog that could not be shown.
namespace vexa {

/// The caption of the question asked before a dialog's changes are discarded.
inline constexpr const char* kCancelDialogCaption = "Cancel Dialog";
/// Its text.
inline constexpr const char* kCancelDialogText =
    "Items have changed. If you close this window, all changes will be lost!\n\nSave changes before closing?";

/// What a Cancel button or a close box leads to.
enum class CancelChoice {
    Close,     ///< close without saving (no changes, or the user said No)
    SaveFirst, ///< act as OK (the user said Yes)
    Stay,      ///< keep the dialog open (the user said Cancel)
};

/// Without changes: Close, without a question. With changes: beeps and asks
/// the "Cancel Dialog" question with Yes, No and Cancel.
CancelChoice ConfirmCancel(QWidget* dialog, bool changed);

/// The text shown when a dialog cannot be created.
inline constexpr const char* kDialogFailureText = "Unable to display dialog";

/// The caption and icon the frame's dialogs report a failure with.
inline constexpr const char* kSystemErrorCaption = "System Error";

/// Reports a dialog that could not be created: "Unable to display dialog",
/// system-modal. The frame's dialogs use "System Error" with the stop icon,
/// the data source dialog "VEXA-Display Error" with the exclamation icon.
void ReportDialogFailure(QWidget* owner, const QString& caption = kSystemErrorCaption,
                         MessageIcon icon = MessageIcon::Stop);

}  // namespace vexa
