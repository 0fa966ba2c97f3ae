#pragma once

#include "app/printing/PrintSeam.h"

class QWidget;

/// The messages printing and exporting give. Each failure beeps where the
/// user needs to notice at once, and shows its box with the stop icon.
namespace vexa::app::printing {

inline constexpr const char* kInternalErrorCaption = "VEXA Display Internal Error";
inline constexpr const char* kEndPageCaption = "VEXA Display Internal Error (EndPage)";
inline constexpr const char* kStartDocText = "StartDoc Error";
inline constexpr const char* kStartPageText = "StartPage error detected.";
inline constexpr const char* kEndDocText = "EndDoc Error";
inline constexpr const char* kOutOfMemoryText = "Not enough memory is available for spooling.";
inline constexpr const char* kOutOfDiskText =
    "Not enough disk space is currently available for spooling, and no more space will become available.";
inline constexpr const char* kUserAbortText = "User terminated the job by using Windows Print Manager (PRINTMAN.EXE).";
inline constexpr const char* kAppAbortText =
    "Job was terminated because the application's print-canceling function returned zero.";
inline constexpr const char* kGeneralErrorText = "General error.";

/// Our own, where there is nothing to print on or to print.
inline constexpr const char* kNoPrinterText =
    "No printer is installed. Install a printer, or write the page to a file with Export Page.";
inline constexpr const char* kWindowGoneText = "The graph window was closed before it could be printed.";
inline constexpr const char* kWindowGoneExportText =
    "The graph window was closed before its page could be written.";
inline constexpr const char* kExportFailedText = "Unable to write the file %1: %2";

/// The text of a failed end of page; empty for EndPageResult::Ok.
const char* EndPageText(EndPageResult result);

/// The stop box with \p text under the internal error caption, after a
/// beep when \p beep.
void ReportJobError(QWidget* owner, const char* text, bool beep = true);
/// Beep and the box of a failed end of page, without owner.
void ReportEndPage(EndPageResult result);
/// One of our own failures under the program's caption.
void ReportFailure(QWidget* owner, const QString& text);

}  // namespace vexa::app::printing
