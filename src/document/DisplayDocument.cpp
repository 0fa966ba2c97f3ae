#include "DisplayDocument.h"

#include "DocumentPaths.h"
#include "FileOperations.h"
#include "ProfileStore.h"
#include "Recovery.h"

#include "platform/AnsiText.h"
#include "platform/Messages.h"
#include "platform/StagedFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexa {

namespace {

constexpr const char* kLoadRefusal = "VEXA-Display Cannot continue until this file has been removed.";
constexpr const char* kCloseCaption = "Close VEXA Display Display File";
constexpr const char* kSaveErrorCaption = "ERROR: Could Not Save File";
constexpr const char* kCreateErrorCaption = "ERROR: Could Not Create File";
constexpr const char* kSizeWarning =
    "Warning: This file is over 64000 characters long. The maximum size allowed is 65534. "
    "VEXA-Display may not function properly if any new items are added to this confiuration.";
/// Files of this size or larger draw the size warning.
constexpr off_t kWarningSize = 64001;

// The size of a file that can be opened for reading, or -1.
off_t MeasuredSize(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info {};
    const off_t size = ::fstat(fd, &info) == 0 ? info.st_size : -1;
    ::close(fd);
    return size;
}

bool IsExistingFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Creates \p path empty, cutting an existing file to length zero; 0 or errno.
int CreateEmptyFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
}

// Deletes working copies and forgets what was cached of them.
void RemoveCopies(const std::string& displayCopy, const std::string& measurementCopy)
{
    for (const std::string* copy : {&displayCopy, &measurementCopy}) {
        RemoveFile(*copy);
        profile::Flush(*copy);
    }
}

QString FileErrorText(const char* what, const std::string& path, int error)
{
    return QString("%1:\n\n\"%2\"\n\n%3")
        .arg(what, FromLocalPath(path), QString::fromLocal8Bit(SystemErrorText(error).c_str()));
}

}  // namespace

DisplayDocument::DisplayDocument(DocumentHost& host, RecentFiles& recentFiles, FontAvailability isInstalled)
    : m_host(host), m_recentFiles(recentFiles), m_isInstalled(std::move(isInstalled))
{
}

DisplayDocument::~DisplayDocument()
{
    discardWorkingCopies();
}

void DisplayDocument::setModified(bool modified)
{
    m_modified = modified;
    if (!m_open)
        return;
    // Written at each change, so that even a killed program leaves the note.
    // A note that cannot be written loses nothing: copies without a note are
    // offered all the same.
    if (modified)
        WriteRecoveryNote(m_workingDisplayCopy, m_path);
    else
        RemoveRecoveryNote(m_workingDisplayCopy);
}

void DisplayDocument::warnIfTooLarge(QWidget* owner, const std::string& displayFile,
                                     const std::string& measurementFile) const
{
    // At most one warning: the measurement file is only measured when the
    // display file is below the limit.
    if (MeasuredSize(displayFile) >= kWarningSize || MeasuredSize(measurementFile) >= kWarningSize)
        ShowMessage(owner, kSizeWarning, kDisplayCaption, MessageIcon::Information);
}

bool DisplayDocument::load(QWidget* owner, LoadMode mode, const std::string& path)
{
    const std::string documentPath = AbsoluteDocumentPath(path);
    if (documentPath.empty())
        return false;
    const std::string displayCopy = WorkingDisplayCopyFor(documentPath);
    // While a document is open the working copies are the program's own.
    const bool checkCopies = !m_open;
    if (checkCopies && mode == LoadMode::Open) {
        switch (OfferRecovery(owner, documentPath)) {
        case RecoveryChoice::Recover:
            openRecovered(documentPath);
            return true;
        case RecoveryChoice::Cancel:
            return false;
        case RecoveryChoice::OpenAsSaved:
            break;
        }
    }
    if (checkCopies && !CheckWorkingCopyFree(owner, displayCopy, kLoadRefusal))
        return false;
    const std::string measurementPath = MeasurementPathFor(documentPath);
    const std::string measurementCopy = WorkingMeasurementCopyFor(documentPath);
    if (checkCopies && !CheckWorkingCopyFree(owner, measurementCopy, kLoadRefusal))
        return false;

    const auto removeCopies = [&] {
        if (checkCopies)
            RemoveCopies(displayCopy, measurementCopy);
    };
    // The copies are this document's now: a note about earlier ones is void.
    RemoveRecoveryNote(displayCopy);

    if (mode == LoadMode::New) {
        for (const std::string* copy : {&displayCopy, &measurementCopy}) {
            if (const int error = CreateEmptyFile(*copy); error != 0) {
                ShowMessage(owner, FileErrorText("Unable to create", *copy, error), kCreateErrorCaption,
                            MessageIcon::Exclamation);
                removeCopies();
                return false;
            }
        }
    } else {
        warnIfTooLarge(owner, documentPath, measurementPath);
        if (!CopyFile(documentPath, displayCopy, CopyReport::ShowError, owner)
            || !CopyFile(measurementPath, measurementCopy, CopyReport::ShowError, owner)) {
            removeCopies();
            return false;
        }
        CheckFontNames(displayCopy, m_isInstalled);
    }
    profile::Flush(displayCopy);
    profile::Flush(measurementCopy);

    take(documentPath, false);
    return true;
}

void DisplayDocument::openRecovered(const std::string& documentPath)
{
    profile::Flush(WorkingDisplayCopyFor(documentPath));
    profile::Flush(WorkingMeasurementCopyFor(documentPath));
    // The note stays: the copies still differ from the files on disk.
    take(documentPath, true);
}

void DisplayDocument::take(const std::string& documentPath, bool modified)
{
    m_path = documentPath;
    m_measurementPath = MeasurementPathFor(documentPath);
    m_workingDisplayCopy = WorkingDisplayCopyFor(documentPath);
    m_workingMeasurementCopy = WorkingMeasurementCopyFor(documentPath);
    m_open = true;
    m_modified = modified;

    m_host.rebuildPopups();
    m_host.refreshFileCommands();
    m_host.resetNameList(m_measurementPath);
}

bool DisplayDocument::openCommand(QWidget* owner)
{
    const std::optional<std::string> chosen = ChooseFile(owner, m_path, ChooseMode::Open);
    if (!chosen)
        return false;
    return openRecent(owner, *chosen);
}

bool DisplayDocument::newCommand(QWidget* owner)
{
    const std::optional<std::string> chosen = ChooseFile(owner, m_path, ChooseMode::Create);
    if (!chosen || close(owner) == kCloseCancelled)
        return false;
    return load(owner, LoadMode::New, *chosen);
}

bool DisplayDocument::openRecent(QWidget* owner, const std::string& path)
{
    if (close(owner) == kCloseCancelled)
        return false;
    return load(owner, LoadMode::Open, path);
}

int DisplayDocument::close(QWidget* owner)
{
    if (m_modified) {
        Beep();
        const QString question = QString("WARNING: The Vexa Display display file:\n\n%1\n\nis already open "
                                         "and has been modified.\n\nSave file first?")
                                     .arg(FromLocalPath(m_path));
        switch (ShowMessage(owner, question, kCloseCaption, MessageIcon::Question, MessageButtons::YesNoCancel)) {
        case MessageAnswer::Yes:
            // Closing deletes the working copies: never after a failed save.
            if (!save(owner))
                return kCloseCancelled;
            break;
        case MessageAnswer::No:
            m_modified = false;
            break;
        default:
            return kCloseCancelled;
        }
    }

    if (m_open) {
        if (IsExistingFile(m_path))
            m_recentFiles.add(m_path);
        discardWorkingCopies();
    }
    m_host.closeAllGraphWindows();
    m_open = false;
    m_host.rebuildPopups();
    m_host.refreshFileCommands();
    return 0;
}

bool DisplayDocument::saveTo(QWidget* owner, const std::string& path, const std::string& measurementPath)
{
    profile::Flush(m_workingDisplayCopy);
    profile::Flush(m_workingMeasurementCopy);

    // Both files are written in full before either replaces what is on disk.
    StagedFile display(path);
    StagedFile measurements(measurementPath);
    const std::string* failedPath = &path;
    int error = StageCopy(m_workingDisplayCopy, display);
    if (error == 0) {
        failedPath = &measurementPath;
        error = StageCopy(m_workingMeasurementCopy, measurements);
    }
    if (error == 0) {
        failedPath = &path;
        error = display.commit();
    }
    if (error == 0) {
        failedPath = &measurementPath;
        error = measurements.commit();
    }
    profile::Flush(path);
    profile::Flush(measurementPath);
    if (error != 0) {
        ShowMessage(owner, FileErrorText("Unable to save", *failedPath, error), kSaveErrorCaption,
                    MessageIcon::Exclamation);
        return false;
    }
    m_modified = false;
    RemoveRecoveryNote(m_workingDisplayCopy);
    m_host.refreshFileCommands();
    return true;
}

bool DisplayDocument::save(QWidget* owner)
{
    if (!m_open)
        return false;
    return saveTo(owner, m_path, m_measurementPath);
}

bool DisplayDocument::saveAs(QWidget* owner)
{
    if (!m_open)
        return false;
    const std::optional<std::string> chosen = ChooseFile(owner, m_path, ChooseMode::Create);
    if (!chosen)
        return false;
    const std::string path = AbsoluteDocumentPath(*chosen);
    const std::string measurementPath = MeasurementPathFor(path);
    // The working copies stay where they were made; only the files they are
    // saved to change.
    const std::string previousPath = m_path;
    const std::string previousMeasurementPath = m_measurementPath;
    m_path = path;
    m_measurementPath = measurementPath;
    if (saveTo(owner, path, measurementPath))
        return true;
    m_path = previousPath;
    m_measurementPath = previousMeasurementPath;
    return false;
}

void DisplayDocument::discardWorkingCopies()
{
    if (!m_open)
        return;
    RemoveCopies(m_workingDisplayCopy, m_workingMeasurementCopy);
    RemoveRecoveryNote(m_workingDisplayCopy);
    m_open = false;
    m_modified = false;
}

void DisplayDocument::keepForRecovery()
{
    if (!m_modified) {
        discardWorkingCopies();
        return;
    }
    // The copies and their note stay for the next open; this object lets
    // go of them.
    m_open = false;
    m_modified = false;
}

}  // namespace vexa
