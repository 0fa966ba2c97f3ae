#pragma once

#include "DocumentHost.h"
#include "FontSpec.h"
#include "RecentFiles.h"

#include <string>

class QWidget;

namespace vexa {

enum class LoadMode { Open, New };

/// The open display document: its paths and flags, and the file commands
/// New, Open, Save, Save As and Close.
///
/// While a document is open the program never touches the display file or
/// its measurement file: it works on the two working copies beside them,
/// which this object creates on load and deletes on Close and when it goes.
class DisplayDocument {
public:
    /// Result of close() when the user cancelled.
    static constexpr int kCloseCancelled = 2;

    DisplayDocument(DocumentHost& host, RecentFiles& recentFiles, FontAvailability isInstalled);
    ~DisplayDocument();

    DisplayDocument(const DisplayDocument&) = delete;
    DisplayDocument& operator=(const DisplayDocument&) = delete;

    bool isOpen() const { return m_open; }
    bool isModified() const { return m_modified; }
    /// Set by the frame after an editor's change or a saved window size.
    /// A modified document has a recovery note beside its working copies.
    void setModified(bool modified);

    const std::string& path() const { return m_path; }
    const std::string& measurementPath() const { return m_measurementPath; }
    const std::string& workingDisplayCopy() const { return m_workingDisplayCopy; }
    const std::string& workingMeasurementCopy() const { return m_workingMeasurementCopy; }

    /// Loads \p path into the working copies: empty ones for New, copies of the
    /// display and measurement files for Open. True when the document is open.
    /// A failed load leaves no working copy of its own behind.
    bool load(QWidget* owner, LoadMode mode, const std::string& path);

    /// The Open command: pick a file, close the current document, load it.
    bool openCommand(QWidget* owner);
    /// The New command: name a file, close the current document, load it empty.
    bool newCommand(QWidget* owner);
    /// A recent-file command: close the current document, then open \p path.
    bool openRecent(QWidget* owner, const std::string& path);

    /// The Close command: asks to save a modified document, adds a document
    /// that exists on disk to the recent files, deletes the working copies and
    /// closes every graph window. kCloseCancelled when the user cancelled (or
    /// the save they asked for failed), otherwise 0.
    int close(QWidget* owner);

    /// Writes the working copies to the display file and the measurement file.
    /// Both files are replaced whole or not at all; a failure is reported.
    bool save(QWidget* owner);
    /// Asks for a new name, then saves under it.
    bool saveAs(QWidget* owner);

    /// At program end: deletes the working copies without asking or touching
    /// the recent files.
    void discardWorkingCopies();
    /// At an end the user did not ask for: the working copies of a modified
    /// document stay beside it with their recovery note, for the next open
    /// to offer; those of an unmodified one are deleted.
    void keepForRecovery();

private:
    /// Opens the document on the working copies an earlier session left.
    void openRecovered(const std::string& documentPath);
    /// Makes the working copies beside \p documentPath the open document's.
    void take(const std::string& documentPath, bool modified);
    bool saveTo(QWidget* owner, const std::string& path, const std::string& measurementPath);
    void warnIfTooLarge(QWidget* owner, const std::string& displayFile,
                        const std::string& measurementFile) const;

    DocumentHost& m_host;
    RecentFiles& m_recentFiles;
    FontAvailability m_isInstalled;

    std::string m_path;
    std::string m_measurementPath;
    std::string m_workingDisplayCopy;
    std::string m_workingMeasurementCopy;
    bool m_open = false;
    bool m_modified = false;
};

}  // namespace vexa
