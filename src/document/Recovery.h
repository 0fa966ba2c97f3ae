#pragma once

#include <QString>

#include <string>

class QWidget;

/// Unsaved changes that outlive the program. While a document is modified a
/// small note lies beside its working copies: which document they belong to,
/// and when they were last changed. A program that ends without the user's
/// say (a signal from the session, a crash) leaves the working copies and
/// the note behind, and the next open of that document offers them.
namespace vexa {

/// Writes the note beside \p workingDisplayCopy: the copies hold unsaved
/// changes to \p documentPath, made now. False when it could not be written.
bool WriteRecoveryNote(const std::string& workingDisplayCopy, const std::string& documentPath);

/// Removes the note beside \p workingDisplayCopy, once the copies match the
/// document again or are gone.
void RemoveRecoveryNote(const std::string& workingDisplayCopy);

/// What lies beside a document from an earlier session.
struct Recovery {
    enum class State {
        /// No working copy of the document's is there.
        None,
        /// Working copies of this document, which may be recovered.
        Offered,
        /// Working copies that must not be applied to this document.
        Unusable,
        /// Copies without a note that hold what the files on disk hold, as a
        /// killed program leaves them for a document without changes.
        Unchanged,
    };
    State state = State::None;
    /// Offered: when the changes were made, as the user reads it.
    QString time;
    /// Unusable: why, as a sentence for the user.
    QString problem;
};

/// Looks beside \p documentPath (absolute) for working copies, their note and
/// a scratch copy an editor left. Copies without a note, as a program that
/// kept no notes leaves them, are offered with the time of the display copy.
Recovery FindRecovery(const std::string& documentPath);

/// Deletes the working copies, scratch copies and note beside
/// \p documentPath.
void DiscardRecovery(const std::string& documentPath);

/// What opening a document goes on with after OfferRecovery().
enum class RecoveryChoice {
    /// Open the document on the working copies that are there.
    Recover,
    /// Open the document as it is saved: nothing was there, or it is gone.
    OpenAsSaved,
    /// Open nothing; whatever was there stays.
    Cancel,
};

/// When there is a recovery beside \p documentPath, asks the user what to do
/// with it and carries out the answer: an offered one may be recovered,
/// discarded or left for later, an unusable one discarded or left.
RecoveryChoice OfferRecovery(QWidget* owner, const std::string& documentPath);

}  // namespace vexa
