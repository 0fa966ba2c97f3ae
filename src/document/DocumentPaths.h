#pragma once

#include <string>

/// Where a display document and its copies live. Forming a working or
/// scratch path drops the profile store's parsed copy of that file, so that
/// nothing of an earlier file of the same name survives.
namespace vexa {

inline constexpr const char* kWorkingDisplayCopyName = "VEXADSP.TMP";
inline constexpr const char* kWorkingMeasurementCopyName = "VEXAMVX.TMP";
inline constexpr const char* kScratchCopyName = "VEXATMP.TMP";
inline constexpr const char* kRecoveryNoteName = "VEXARCV.TMP";
inline constexpr const char* kMeasurementExtension = ".mvx";

/// \p path made absolute and lexically normal (no "." or ".." parts).
std::string AbsoluteDocumentPath(const std::string& path);

/// Everything up to and including the last "/"; empty when there is none.
std::string DirectoryOf(const std::string& path);

/// The part of \p path after its last "/".
std::string FileNameOf(const std::string& path);

/// The display file's path with its file name cut before the file name's
/// first ".", followed by ".mvx": /data/plant.v2/line.dsp gives
/// /data/plant.v2/line.mvx.
std::string MeasurementPathFor(const std::string& documentPath);

/// VEXADSP.TMP in the document's directory.
std::string WorkingDisplayCopyFor(const std::string& documentPath);

/// VEXAMVX.TMP in the measurement file's directory.
std::string WorkingMeasurementCopyFor(const std::string& documentPath);

/// VEXATMP.TMP beside the working copy that an editor edits.
std::string ScratchCopyFor(const std::string& workingCopy);

/// VEXARCV.TMP beside the working display copy \p workingDisplayCopy: the
/// note that keeps the working copies of a modified document for recovery.
std::string RecoveryNoteFor(const std::string& workingDisplayCopy);

}  // namespace vexa
