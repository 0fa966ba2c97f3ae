#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace vexa::server::recording::test {

/// One row of a recording's readings view, as a user's query sees it.
struct Reading {
    double time = 0.0;
    std::string name;
    std::optional<double> value;       ///< nullopt for NULL
    std::optional<double> sourceTime;  ///< nullopt for NULL
};

/// A recording file opened with SQLite, as any client opens it.
class RecordingFile {
public:
    explicit RecordingFile(const QString& path);
    ~RecordingFile();
    RecordingFile(const RecordingFile&) = delete;
    RecordingFile& operator=(const RecordingFile&) = delete;

    /// Empty when the file opened and its integrity check passed; else why not.
    const std::string& problem() const { return m_problem; }
    /// The rows of samples with their names, in the order they were inserted.
    std::vector<Reading> Readings() const;
    std::map<std::string, std::string> Info() const;
    /// The number of rows in samples.
    long long SampleCount() const;

private:
    sqlite3* m_db = nullptr;
    std::string m_problem;
};

/// The recording files in \p folder in the order of their parts: each
/// recording's first part, then its "-2", "-3", ...
QStringList RecordingFiles(const QString& folder);

/// The bits of \p value, so that two doubles compare bit for bit.
unsigned long long Bits(double value);

}  // namespace vexa::server::recording::test
