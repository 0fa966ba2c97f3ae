#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vexa::test {

/// One row of a test recording: a value of name \p name (an index into the
/// names written) at \p time; no value stands for NULL.
struct RecordedRow {
    double time = 0.0;
    int name = 0;
    std::optional<double> value;
    std::optional<double> sourceTime;
};

/// Writes a recording to \p path as the recorder does: its tables, the
/// info rows of a first part, \p names with ids from 1, and \p rows in the
/// order given, in WAL mode. An empty string, or why it failed.
std::string WriteRecording(const std::string& path, const std::vector<std::string>& names,
                           const std::vector<RecordedRow>& rows);

}  // namespace vexa::test
