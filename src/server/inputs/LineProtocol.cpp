#include "server/inputs/LineProtocol.h"

#include "server/inputs/DecimalNumber.h"
#include "server/inputs/MeasurementName.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace vexa::server {

namespace {

constexpr char kEscape = '\\';
constexpr char kQuote = '"';
constexpr char kComment = '#';
constexpr char kNameSeparator = '.';
constexpr std::string_view kValueField = "value";
constexpr double kSecondsPerNanosecond = 1e-9;
/// Names are kept to one character beyond the longest valid one.
constexpr std::size_t kNameCap = kMaxMeasurementNameLength + 1;
constexpr std::array<std::string_view, 5> kTrueWords = {"t", "T", "true", "True", "TRUE"};
constexpr std::array<std::string_view, 5> kFalseWords = {"f", "F", "false", "False", "FALSE"};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

/// The characters that end a plain run of a name: blanks, the separators
/// and the escape.
constexpr std::array<bool, 256> kNameBreaks = [] {
    std::array<bool, 256> breaks{};
    for (const char c : {' ', '\t', ',', '=', kEscape})
        breaks[static_cast<unsigned char>(c)] = true;
    return breaks;
}();

bool IsNameBreak(char c)
{
    return kNameBreaks[static_cast<unsigned char>(c)];
}

/// One field of the line being read, its name kept in the line's name store.
struct Field {
    std::size_t nameBegin = 0;
    std::size_t nameLength = 0;
    double value = 0.0;
    bool isString = false;
};

/// Reads one line; the line's fields are collected first and handed on only
/// when the whole line proved sound.
class LineReader {
public:
    /// Reads \p line; false when it breaks the form.
    bool Read(std::string_view line)
    {
        m_line = line;
        m_at = 0;
        m_names.clear();
        m_fields.clear();
        m_sourceTime = std::numeric_limits<double>::quiet_NaN();

        m_measurement.clear();
        if (!ReadName(m_measurement, true) || m_measurement.empty())
            return false;
        if (Peek() == ',' && !SkipTags())
            return false;
        if (!SkipBlanks())
            return false;
        do {
            if (!ReadField())
                return false;
        } while (Take(','));
        if (AtEnd())
            return true;
        if (!SkipBlanks())
            return false;
        return AtEnd() || ReadTimestamp();
    }

    double sourceTime() const { return m_sourceTime; }
    /// The names of the line's fields, one after the other.
    const std::string& names() const { return m_names; }
    const std::vector<Field>& fields() const { return m_fields; }

private:
    char Peek() const { return m_at < m_line.size() ? m_line[m_at] : '\0'; }
    bool AtEnd() const { return m_at >= m_line.size(); }
    bool Take(char c)
    {
        if (Peek() != c || AtEnd())
            return false;
        ++m_at;
        return true;
    }

    /// Skips one or more blanks, then any more; false when there was none.
    bool SkipBlanks()
    {
        const std::size_t start = m_at;
        while (!AtEnd() && IsBlank(m_line[m_at]))
            ++m_at;
        return m_at > start;
    }

    /// Reads an escaped name up to an unescaped blank, end, "," or "=" (when
    /// \p equalsAllowed is false) into \p name, kept to the name cap. Runs of
    /// plain characters are taken whole.
    bool ReadName(std::string& name, bool equalsAllowed)
    {
        while (!AtEnd()) {
            const std::size_t run = m_at;
            while (!AtEnd() && !IsNameBreak(m_line[m_at]))
                ++m_at;
            Keep(name, m_line.substr(run, m_at - run));
            if (AtEnd())
                break;
            char c = m_line[m_at];
            if (IsBlank(c) || c == ',' || (!equalsAllowed && c == '='))
                break;
            if (c == kEscape && m_at + 1 < m_line.size()) {
                const char next = m_line[m_at + 1];
                if (next == ',' || next == ' ' || next == '=' || next == kEscape) {
                    c = next;
                    ++m_at;
                }
            }
            Keep(name, std::string_view(&c, 1));
            ++m_at;
        }
        return true;
    }

    /// Appends what of \p part fits under the name cap.
    static void Keep(std::string& name, std::string_view part)
    {
        if (name.size() < kNameCap)
            name.append(part.substr(0, kNameCap - name.size()));
    }

    /// Skips ",key=value" pairs up to the blank before the fields.
    bool SkipTags()
    {
        while (Take(',')) {
            m_key.clear();
            ReadName(m_key, false);
            if (m_key.empty() || !Take('='))
                return false;
            m_key.clear();
            ReadName(m_key, false);
            if (m_key.empty())
                return false;
        }
        return true;
    }

    bool ReadField()
    {
        m_key.clear();
        ReadName(m_key, false);
        if (m_key.empty() || !Take('='))
            return false;
        Field field;
        field.nameBegin = m_names.size();
        m_names.append(m_measurement);
        if (m_key != kValueField) {
            m_names.push_back(kNameSeparator);
            m_names.append(m_key);
        }
        if (m_names.size() - field.nameBegin > kNameCap)
            m_names.resize(field.nameBegin + kNameCap);
        field.nameLength = m_names.size() - field.nameBegin;

        if (Peek() == kQuote && !AtEnd()) {
            if (!SkipString())
                return false;
            field.isString = true;
        } else {
            const std::size_t start = m_at;
            while (!AtEnd() && m_line[m_at] != ',' && !IsBlank(m_line[m_at]))
                ++m_at;
            const std::optional<double> value = ReadFieldValue(m_line.substr(start, m_at - start));
            if (!value.has_value())
                return false;
            field.value = *value;
        }
        m_fields.push_back(field);
        return true;
    }

    /// Skips a quoted string with its "\"" and "\\" escapes.
    bool SkipString()
    {
        ++m_at;
        while (!AtEnd()) {
            const char c = m_line[m_at++];
            if (c == kEscape && !AtEnd())
                ++m_at;
            else if (c == kQuote)
                return true;
        }
        return false;
    }

    static std::optional<double> ReadFieldValue(std::string_view text)
    {
        if (text.empty())
            return std::nullopt;
        for (std::string_view word : kTrueWords) {
            if (text == word)
                return 1.0;
        }
        for (std::string_view word : kFalseWords) {
            if (text == word)
                return 0.0;
        }
        const std::string_view digits = text.substr(0, text.size() - 1);
        if (text.back() == 'i')
            return ReadWhole<std::int64_t>(digits);
        if (text.back() == 'u')
            return ReadWhole<std::uint64_t>(digits);
        return ReadDecimal(text);
    }

    template <typename Integer>
    static std::optional<double> ReadWhole(std::string_view digits)
    {
        Integer value = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
            return std::nullopt;
        return static_cast<double>(value);
    }

    bool ReadTimestamp()
    {
        const std::size_t start = m_at;
        while (!AtEnd() && !IsBlank(m_line[m_at]))
            ++m_at;
        const std::string_view text = m_line.substr(start, m_at - start);
        std::int64_t nanoseconds = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), nanoseconds);
        if (error != std::errc() || end != text.data() + text.size())
            return false;
        SkipBlanks();
        if (!AtEnd())
            return false;
        m_sourceTime = static_cast<double>(nanoseconds) * kSecondsPerNanosecond;
        return true;
    }

    std::string m_names;
    std::vector<Field> m_fields;
    std::string m_measurement;
    std::string m_key;  ///< a field's or tag's name, read again for each
    std::string_view m_line;
    std::size_t m_at = 0;
    double m_sourceTime = 0.0;
};

}  // namespace

ParseCounts ParseLineProtocol(std::string_view bytes, ValueSink& sink)
{
    ParseCounts counts;
    // Kept from call to call with its buffers, so that a busy input
    // allocates nothing.
    thread_local LineReader reader;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);

        if (line.size() > kMaxLineBytes) {
            ++counts.oversize;
            continue;
        }
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        while (!line.empty() && IsBlank(line.front()))
            line.remove_prefix(1);
        if (line.empty() || line.front() == kComment)
            continue;

        ++counts.messages;
        if (!reader.Read(line)) {
            ++counts.errors;
            continue;
        }
        const std::string_view names = reader.names();
        for (const Field& field : reader.fields()) {
            if (field.isString) {
                ++counts.skipped;
                continue;
            }
            sink.Value(names.substr(field.nameBegin, field.nameLength), field.value, reader.sourceTime());
            ++counts.values;
        }
    }
    return counts;
}

}  // namespace vexa::server
