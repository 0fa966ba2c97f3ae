#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::profile {

/// The parsed contents of one Windows-format profile file, kept line by line
/// so that writing it back changes nothing but the lines that were edited
/// (and turns every line end into CRLF). Pure: the caller reads and writes
/// the bytes.
///
/// Lines are ended by CR, LF or CRLF; a missing final line end is fine.
/// Bytes are never decoded, and NUL bytes inside a line are kept. A trimmed
/// line "[name…]" opens a section named by the text between '[' and the last
/// ']'; inside a section a line with '=' is a key (the blanks around the name
/// and the value are not part of them). Comment lines (';'), lines without
/// '=' and keys before the first section are kept but can never be named.
/// Names match without regard to case (ASCII and the Windows-1252 letters),
/// and the first of duplicate sections, or of duplicate keys in a section,
/// is the one that counts.
class IniFile {
public:
    /// An empty file.
    IniFile() = default;
    /// Parses \p bytes; anything at all is accepted.
    explicit IniFile(std::string_view bytes);

    /// The whole file with CRLF line ends, ready to be written.
    std::string toBytes() const;

    /// The trimmed value of \p key in \p section, without one pair of
    /// enclosing quotes; nullopt when the key or the section is absent. The
    /// view is valid until the next change.
    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;

    /// Replaces the key's value, or adds the key after the last key of the
    /// section, or appends the section with the key. CR and LF in the names
    /// and the value become blanks, so that no caller can inject lines. False,
    /// with nothing changed, when a name cannot be stored (see isStorableKey).
    bool setValue(std::string_view section, std::string_view key, std::string_view value);

    /// Removes every line of \p key in the section; true when one went.
    bool removeKey(std::string_view section, std::string_view key);
    /// Removes every section named \p section with all its lines; true when one went.
    bool removeSection(std::string_view section);

    /// The key names of the section in file order, each once; empty when
    /// there is no such section.
    std::vector<std::string> keys(std::string_view section) const;
    /// The section names in file order, each once.
    std::vector<std::string> sections() const;

    /// Whether setValue can store these names: neither empty after trimming,
    /// and a key that contains no '=' and does not begin with ';' or '['
    /// (it would read back as something else).
    static bool isStorableSection(std::string_view section);
    static bool isStorableKey(std::string_view key);

private:
    struct Line {
        std::string text;  ///< the bytes of the line, without its end
        bool isKey = false;
        std::size_t keyBegin = 0;
        std::size_t keyLength = 0;
        std::size_t valueBegin = 0;
        std::size_t valueLength = 0;

        std::string_view key() const;
        std::string_view rawValue() const;
    };

    struct Section {
        Line header;
        std::string name;
        std::vector<Line> lines;
    };

    static Line makeLine(std::string text, bool inSection);
    static Line makeKeyLine(std::string_view key, std::string_view value);

    Section* findSection(std::string_view name);
    const Section* findSection(std::string_view name) const;
    const Line* lastLine() const;

    std::vector<Line> m_preamble;  ///< lines before the first section header
    std::vector<Section> m_sections;
};

}  // namespace vexa::profile
