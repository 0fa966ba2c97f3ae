#include "Recovery.h"

#include "DocumentPaths.h"
#include "FileOperations.h"
#include "ProfileStore.h"
#include "ProfileWriteBatch.h"

#include "platform/AnsiText.h"
#include "platform/Messages.h"

#include <QDateTime>
#include <QFile>
#include <QTimeZone>

#include <optional>

#include <sys/stat.h>

namespace vexa {

namespace {

constexpr const char* kNoteSection = "Recovery";
constexpr const char* kDocumentKey = "Document";
constexpr const char* kTimeKey = "Time";
/// How the question shows the time of the changes, in local time.
constexpr const char* kShownTimeFormat = "yyyy-MM-dd hh:mm:ss";

constexpr const char* kRecoverQuestion = "Unsaved changes to '%1' from %2 were found. Recover them?";
constexpr const char* kUnusableQuestion =
    "Unsaved changes were found beside '%1', but they cannot be recovered: %2\n\n"
    "Discard them and open the file as saved?";

/// The modification time of a regular file; nothing when there is none.
std::optional<QDateTime> ModificationTime(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    const qint64 ms = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
    return QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc());
}

bool Exists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

/// Whether both files can be read and hold the same bytes.
bool HasSameBytes(const std::string& first, const std::string& second)
{
    QFile a(FromLocalPath(first));
    QFile b(FromLocalPath(second));
    return a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly) && a.size() == b.size()
           && a.readAll() == b.readAll();
}

QString Quoted(const std::string& path)
{
    return QStringLiteral("'%1'").arg(FromLocalPath(path));
}

Recovery Unusable(const QString& problem)
{
    return {Recovery::State::Unusable, {}, problem};
}

}  // namespace

bool WriteRecoveryNote(const std::string& workingDisplayCopy, const std::string& documentPath)
{
    const std::string note = RecoveryNoteFor(workingDisplayCopy);
    const std::string time = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toStdString();
    bool written = false;
    {
        // One replacement of the file for both keys: a note is whole or absent.
        ProfileWriteBatch batch(note);
        // Quoted, so that blanks at either end of a path survive the reading.
        written = profile::WriteString(kNoteSection, kDocumentKey, '"' + documentPath + '"', note)
                  && profile::WriteString(kNoteSection, kTimeKey, time, note);
    }
    profile::Flush(note);
    return written;
}

void RemoveRecoveryNote(const std::string& workingDisplayCopy)
{
    RemoveFile(RecoveryNoteFor(workingDisplayCopy));
}

Recovery FindRecovery(const std::string& documentPath)
{
    const std::string displayCopy = WorkingDisplayCopyFor(documentPath);
    const std::string measurementCopy = WorkingMeasurementCopyFor(documentPath);
    const bool hasDisplayCopy = Exists(displayCopy);
    const bool hasMeasurementCopy = Exists(measurementCopy);
    if (!hasDisplayCopy && !hasMeasurementCopy)
        return {};
    if (!hasDisplayCopy || !hasMeasurementCopy) {
        return Unusable(QStringLiteral("the working copy %1 is missing.")
                            .arg(Quoted(hasDisplayCopy ? measurementCopy : displayCopy)));
    }

    std::optional<QDateTime> changed;
    const std::string note = RecoveryNoteFor(displayCopy);
    if (Exists(note)) {
        const std::string document = profile::ReadString(kNoteSection, kDocumentKey, "", note);
        changed = QDateTime::fromString(QString::fromStdString(profile::ReadString(kNoteSection, kTimeKey, "", note)),
                                        Qt::ISODateWithMs);
        profile::Flush(note);
        if (document.empty() || !changed || !changed->isValid())
            return Unusable(QStringLiteral("the note %1 that describes them is damaged.").arg(Quoted(note)));
        if (document != documentPath)
            return Unusable(QStringLiteral("they belong to %1.").arg(Quoted(document)));
    } else {
        if (HasSameBytes(displayCopy, documentPath) && HasSameBytes(measurementCopy, MeasurementPathFor(documentPath)))
            return {Recovery::State::Unchanged, {}, {}};
        // Copies left by a program that kept no notes: their own time.
        changed = ModificationTime(displayCopy);
        if (!changed)
            return Unusable(QStringLiteral("the working copy %1 cannot be read.").arg(Quoted(displayCopy)));
    }

    const std::optional<QDateTime> saved = ModificationTime(documentPath);
    if (!saved)
        return Unusable(QStringLiteral("the file %1 is missing.").arg(Quoted(documentPath)));
    if (const std::string measurementPath = MeasurementPathFor(documentPath); !Exists(measurementPath))
        return Unusable(QStringLiteral("its measurement file %1 is missing.").arg(Quoted(measurementPath)));
    if (*saved > *changed)
        return Unusable(QStringLiteral("the file was saved after them."));
    return {Recovery::State::Offered, changed->toLocalTime().toString(QString::fromLatin1(kShownTimeFormat)), {}};
}

void DiscardRecovery(const std::string& documentPath)
{
    const std::string displayCopy = WorkingDisplayCopyFor(documentPath);
    const std::string measurementCopy = WorkingMeasurementCopyFor(documentPath);
    for (const std::string& file : {ScratchCopyFor(displayCopy), ScratchCopyFor(measurementCopy), displayCopy,
                                    measurementCopy, RecoveryNoteFor(displayCopy)}) {
        RemoveFile(file);
        profile::Flush(file);
    }
}

RecoveryChoice OfferRecovery(QWidget* owner, const std::string& documentPath)
{
    const Recovery found = FindRecovery(documentPath);
    switch (found.state) {
    case Recovery::State::None:
        return RecoveryChoice::OpenAsSaved;
    case Recovery::State::Unchanged:
        // Nothing to recover: no question.
        DiscardRecovery(documentPath);
        return RecoveryChoice::OpenAsSaved;
    case Recovery::State::Offered: {
        Beep();
        const QString question = QString::fromLatin1(kRecoverQuestion).arg(FromLocalPath(documentPath), found.time);
        switch (ShowMessage(owner, question, kDisplayCaption, MessageIcon::Question, MessageButtons::YesNoCancel)) {
        case MessageAnswer::Yes: {
            // What an editor had not confirmed is no part of the changes.
            const std::string displayCopy = WorkingDisplayCopyFor(documentPath);
            for (const std::string& scratch :
                 {ScratchCopyFor(displayCopy), ScratchCopyFor(WorkingMeasurementCopyFor(documentPath))})
                RemoveFile(scratch);
            // Copies that came without a note are this document's from now on.
            if (!Exists(RecoveryNoteFor(displayCopy)))
                WriteRecoveryNote(displayCopy, documentPath);
            return RecoveryChoice::Recover;
        }
        case MessageAnswer::No:
            DiscardRecovery(documentPath);
            return RecoveryChoice::OpenAsSaved;
        default:
            return RecoveryChoice::Cancel;
        }
    }
    case Recovery::State::Unusable: {
        Beep();
        const QString question = QString::fromLatin1(kUnusableQuestion).arg(FromLocalPath(documentPath), found.problem);
        if (ShowMessage(owner, question, kDisplayCaption, MessageIcon::Exclamation, MessageButtons::YesNo)
            != MessageAnswer::Yes)
            return RecoveryChoice::Cancel;
        DiscardRecovery(documentPath);
        return RecoveryChoice::OpenAsSaved;
    }
    }
    return RecoveryChoice::Cancel;
}

}  // namespace vexa
