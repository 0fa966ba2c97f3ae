#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

/// The profile (INI) store: key-by-key reads and writes of Windows-format
/// profile files, as both programs use them for the display file, the
/// measurement file, their working copies and the settings file.
///
/// Files are read with CR, LF or CRLF line ends and written with CRLF. Text
/// is 8-bit bytes, kept as it is. Section and key names match without regard
/// to case; the first of duplicate sections or keys wins; blanks around
/// names and values are trimmed; one pair of enclosing quotes (" or ') is
/// removed from a value that is read. Every write replaces the file
/// atomically (a new file, then a rename). A parsed copy of each file is kept
/// and dropped on Flush() or when the file changes on disk.
namespace vexa::profile {

/// A capacity that never cuts a value.
inline constexpr std::size_t kUnbounded = static_cast<std::size_t>(-1);

/// The value of \p key in \p section, or \p defaultValue when the key or the
/// section is absent. The result is cut to \p capacity - 1 characters, as a
/// read into a buffer of that size would be.
std::string ReadString(std::string_view section, std::string_view key,
                       std::string_view defaultValue, const std::string& file,
                       std::size_t capacity = kUnbounded);

/// The decimal value of \p key: optional blanks, an optional sign and the
/// digits that follow; text that is no number reads as 0. \p defaultValue
/// when the key is absent or its value empty.
int ReadInt(std::string_view section, std::string_view key, int defaultValue,
            const std::string& file);

/// Replaces the key's value, or adds the key (after the last key of the
/// section) and the section (at the end of the file) when absent. Creates the
/// file when it does not exist; through a symbolic link the file it names is
/// replaced. CR and LF in the names or the value are written as blanks, so
/// that no text can add lines. False when the file cannot be written, and
/// also for a name that cannot be stored (empty, or a key that contains '='
/// or begins with ';' or '['); LastError() then tells why.
bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                 const std::string& file);

/// Removes every line of the key from the (first) section. True also when
/// there was nothing to remove; the file is then left alone.
bool DeleteKey(std::string_view section, std::string_view key, const std::string& file);

/// Removes the section with all its lines, and every later section of the same
/// name, so that the name is free afterwards. True also when there was nothing
/// to remove; the file is then left alone.
bool DeleteSection(std::string_view section, const std::string& file);

/// The key names of the section in file order, each name once; empty when the
/// section does not exist (or has no keys).
std::vector<std::string> ListKeys(std::string_view section, const std::string& file);

/// The section names of the file in file order, each name once.
std::vector<std::string> ListSections(const std::string& file);

/// Makes pending writes reach the disk and drops the parsed copy of \p file,
/// so that the next access reads it afresh.
void Flush(const std::string& file);

/// Holds back the disk writes to \p file until the matching
/// EndDeferredWrites(), so that a run of changes (copying or renumbering
/// sections) replaces the file once instead of once per key. Reads in
/// between see the changes. Calls nest; ProfileWriteBatch pairs them.
void BeginDeferredWrites(const std::string& file);

/// Ends one BeginDeferredWrites(); the outermost end writes the file when
/// anything changed. False when that write failed.
bool EndDeferredWrites(const std::string& file);

/// The system's text for the last failed write (strerror of the failing call);
/// it stays until the next failure.
std::string LastError();

}  // namespace vexa::profile
