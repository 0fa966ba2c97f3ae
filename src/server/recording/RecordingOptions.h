#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

namespace vexa::server::recording {

/// The recording's settings in section "VEXA-Com" of the settings file:
/// "Record" (1 records from the server's start) and "RecordFolder" (where
/// recordings go). The server only reads them.
class RecordingSettings {
public:
    static constexpr const char* kSection = "VEXA-Com";
    static constexpr const char* kRecordKey = "Record";
    static constexpr const char* kFolderKey = "RecordFolder";

    explicit RecordingSettings(std::string file) : m_file(std::move(file)) {}

    /// True when "Record" asks for a recording from the start.
    bool isRecordingAtStart() const;
    /// "RecordFolder", or DefaultFolder() when the file names none.
    QString folder() const;
    /// The recordings' folder when none is set: "VexaDisplay/recordings"
    /// under the user's data folder ($XDG_DATA_HOME, ~/.local/share).
    static QString DefaultFolder();

private:
    std::string m_file;
};

/// What the command line says about recording.
struct RecordingOption {
    /// The folder of --record FOLDER (or --record=FOLDER); nullopt without it.
    std::optional<QString> folder;
    QString error;  ///< empty when the option was sound
};

/// Reads --record from \p arguments (the program's name first); a missing
/// or empty folder is an error. Other arguments are left to others.
RecordingOption ParseRecordingOption(const QStringList& arguments);

}  // namespace vexa::server::recording
