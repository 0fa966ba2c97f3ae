#include "server/inputs/JsonFlatten.h"

#include "server/inputs/DecimalNumber.h"
#include "server/inputs/MeasurementName.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace vexa::server {

namespace {

constexpr char kNameSeparator = '.';
constexpr std::string_view kTimestampMember = "timestamp";
/// Names are kept to one character beyond the longest valid one.
constexpr std::size_t kNameCap = kMaxMeasurementNameLength + 1;
constexpr int kHexDigits = 4;
constexpr char32_t kHighSurrogateFirst = 0xD800;
constexpr char32_t kLowSurrogateFirst = 0xDC00;
constexpr char32_t kSurrogateEnd = 0xE000;
constexpr int kSurrogateBits = 10;
constexpr char32_t kSupplementaryFirst = 0x10000;
constexpr unsigned char kFirstPrintable = 0x20;

bool IsWhitespace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

/// Appends \p code to \p text as UTF-8, the form JSON text arrives in, so
/// that an escaped character names the same thing as the character itself.
void AppendUtf8(std::string& text, char32_t code)
{
    if (code < 0x80) {
        text.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (code >> 6)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        text.push_back(static_cast<char>(0xE0 | (code >> 12)));
        text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xF0 | (code >> 18)));
        text.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

struct PendingValue {
    std::size_t nameBegin = 0;
    std::size_t nameLength = 0;
    double value = 0.0;
};

/// An object or array being read: where its members' names begin in the
/// path, and the index of its next element.
struct Frame {
    bool isArray = false;
    bool isEmpty = true;
    std::size_t pathLength = 0;
    std::uint64_t nextIndex = 0;
};

class JsonReader {
public:
    JsonReader(std::string_view text, std::string_view prefix) : m_text(text)
    {
        m_path.assign(prefix.substr(0, kNameCap));
    }

    /// Reads the whole text; false when it is not one sound object.
    bool Read()
    {
        SkipWhitespace();
        if (!Take('{'))
            return false;
        m_stack.push_back(Frame{false, true, m_path.size(), 0});
        while (!m_stack.empty()) {
            if (!ReadNext())
                return false;
        }
        SkipWhitespace();
        return m_at == m_text.size();
    }

    const std::string& names() const { return m_names; }
    const std::vector<PendingValue>& values() const { return m_values; }
    std::uint64_t skipped() const { return m_skipped; }
    double sourceTime() const { return m_sourceTime; }

private:
    bool AtEnd() const { return m_at >= m_text.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_text[m_at]; }
    bool Take(char c)
    {
        if (AtEnd() || m_text[m_at] != c)
            return false;
        ++m_at;
        return true;
    }
    void SkipWhitespace()
    {
        while (!AtEnd() && IsWhitespace(m_text[m_at]))
            ++m_at;
    }

    /// Reads what comes next in the innermost container: its end, or the
    /// next member or element (a container opened there is read on the
    /// following turns).
    bool ReadNext()
    {
        Frame& frame = m_stack.back();
        SkipWhitespace();
        if (Take(frame.isArray ? ']' : '}')) {
            m_stack.pop_back();
            return true;
        }
        if (!frame.isEmpty) {
            if (!Take(','))
                return false;
            SkipWhitespace();
        }
        frame.isEmpty = false;

        m_path.resize(frame.pathLength);
        bool isTimestamp = false;
        if (frame.isArray) {
            std::array<char, 24> digits{};
            const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), frame.nextIndex++).ptr;
            AppendSegment(std::string_view(digits.data(), std::size_t(end - digits.data())));
        } else {
            m_key.clear();
            if (!ReadString(&m_key))
                return false;
            SkipWhitespace();
            if (!Take(':'))
                return false;
            isTimestamp = m_stack.size() == 1 && m_key == kTimestampMember;
            AppendSegment(m_key);
        }
        SkipWhitespace();
        return ReadValue(isTimestamp);
    }

    void AppendSegment(std::string_view segment)
    {
        if (m_path.size() >= kNameCap)
            return;
        if (!m_path.empty())
            m_path.push_back(kNameSeparator);
        m_path.append(segment.substr(0, kNameCap));
        if (m_path.size() > kNameCap)
            m_path.resize(kNameCap);
    }

    bool ReadValue(bool isTimestamp)
    {
        switch (Peek()) {
        case '{':
        case '[': {
            const bool isArray = Peek() == '[';
            ++m_at;
            m_stack.push_back(Frame{isArray, true, m_path.size(), 0});
            return true;
        }
        case '"':
            ++m_skipped;
            return ReadString(nullptr);
        case 't':
            return ReadWord("true") && Keep(1.0);
        case 'f':
            return ReadWord("false") && Keep(0.0);
        case 'n':
            ++m_skipped;
            return ReadWord("null");
        default:
            break;
        }
        const std::optional<double> number = ReadNumber();
        if (!number.has_value())
            return false;
        if (isTimestamp) {
            m_sourceTime = *number;
            return true;
        }
        return Keep(*number);
    }

    bool Keep(double value)
    {
        m_values.push_back(PendingValue{m_names.size(), m_path.size(), value});
        m_names.append(m_path);
        return true;
    }

    bool ReadWord(std::string_view word)
    {
        if (m_text.substr(m_at, word.size()) != word)
            return false;
        m_at += word.size();
        return true;
    }

    std::optional<double> ReadNumber()
    {
        const std::size_t start = m_at;
        while (!AtEnd() && (std::isdigit(static_cast<unsigned char>(m_text[m_at])) || m_text[m_at] == '-'
                            || m_text[m_at] == '+' || m_text[m_at] == '.' || m_text[m_at] == 'e'
                            || m_text[m_at] == 'E'))
            ++m_at;
        const std::string_view text = m_text.substr(start, m_at - start);
        // JSON is stricter than plain decimals: digits on both sides of the
        // point, and no leading zero before further digits.
        const std::size_t digits = text.starts_with('-') ? 1 : 0;
        if (digits >= text.size() || text[digits] == '.')
            return std::nullopt;
        if (text[digits] == '0' && digits + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[digits + 1])))
            return std::nullopt;
        const std::size_t point = text.find('.');
        if (point != std::string_view::npos
            && (point + 1 >= text.size() || !std::isdigit(static_cast<unsigned char>(text[point + 1]))))
            return std::nullopt;
        return ReadDecimal(text);
    }

    /// Reads a string; its text goes to \p text when given.
    bool ReadString(std::string* text)
    {
        if (!Take('"'))
            return false;
        while (!AtEnd()) {
            const char c = m_text[m_at++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < kFirstPrintable)
                return false;
            if (c != '\\') {
                Append(text, c);
                continue;
            }
            if (AtEnd())
                return false;
            const char escaped = m_text[m_at++];
            switch (escaped) {
            case '"':
            case '\\':
            case '/':
                Append(text, escaped);
                break;
            case 'b':
                Append(text, '\b');
                break;
            case 'f':
                Append(text, '\f');
                break;
            case 'n':
                Append(text, '\n');
                break;
            case 'r':
                Append(text, '\r');
                break;
            case 't':
                Append(text, '\t');
                break;
            case 'u': {
                const std::optional<char32_t> code = ReadEscapedCharacter();
                if (!code.has_value())
                    return false;
                if (text != nullptr && text->size() < kNameCap)
                    AppendUtf8(*text, *code);
                break;
            }
            default:
                return false;
            }
        }
        return false;
    }

    static void Append(std::string* text, char c)
    {
        if (text != nullptr && text->size() < kNameCap)
            text->push_back(c);
    }

    std::optional<char32_t> ReadHex()
    {
        if (m_text.size() - m_at < kHexDigits)
            return std::nullopt;
        unsigned value = 0;
        const char* begin = m_text.data() + m_at;
        const auto [end, error] = std::from_chars(begin, begin + kHexDigits, value, 16);
        if (error != std::errc() || end != begin + kHexDigits)
            return std::nullopt;
        m_at += kHexDigits;
        return static_cast<char32_t>(value);
    }

    /// The character of a "\u" escape, joining a surrogate pair.
    std::optional<char32_t> ReadEscapedCharacter()
    {
        const std::optional<char32_t> first = ReadHex();
        if (!first.has_value())
            return std::nullopt;
        if (*first < kHighSurrogateFirst || *first >= kSurrogateEnd)
            return first;
        if (*first >= kLowSurrogateFirst || !ReadWord("\\u"))
            return std::nullopt;
        const std::optional<char32_t> second = ReadHex();
        if (!second.has_value() || *second < kLowSurrogateFirst || *second >= kSurrogateEnd)
            return std::nullopt;
        return kSupplementaryFirst + ((*first - kHighSurrogateFirst) << kSurrogateBits)
             + (*second - kLowSurrogateFirst);
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    std::vector<Frame> m_stack;
    std::string m_path;
    std::string m_key;
    std::string m_names;
    std::vector<PendingValue> m_values;
    std::uint64_t m_skipped = 0;
    double m_sourceTime = std::numeric_limits<double>::quiet_NaN();
};

}  // namespace

ParseCounts FlattenJsonObject(std::string_view text, std::string_view prefix, ValueSink& sink)
{
    ParseCounts counts;
    counts.messages = 1;
    JsonReader reader(text, prefix);
    if (!reader.Read()) {
        counts.errors = 1;
        return counts;
    }
    const std::string_view names = reader.names();
    for (const PendingValue& pending : reader.values())
        sink.Value(names.substr(pending.nameBegin, pending.nameLength), pending.value, reader.sourceTime());
    counts.values = reader.values().size();
    counts.skipped = reader.skipped();
    return counts;
}

}  // namespace vexa::server
