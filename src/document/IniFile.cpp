#include "IniFile.h"

#include <algorithm>
#include <array>
#include <unordered_set>
#include <utility>

namespace vexa::profile {

namespace {

constexpr std::size_t kNotFound = std::string_view::npos;
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kLineBreaks = "\r\n";
constexpr char kSectionOpen = '[';
constexpr char kSectionClose = ']';
constexpr char kKeySeparator = '=';
constexpr char kComment = ';';
constexpr std::size_t kShortestQuoted = 2;

// Windows-1252 letters: the upper-case Latin-1 block maps 0x20 up (the
// multiplication sign is no letter), and four upper-case letters sit apart
// from their lower-case partners.
constexpr unsigned char kLatinUpperFirst = 0xC0;
constexpr unsigned char kLatinUpperLast = 0xDE;
constexpr unsigned char kMultiplicationSign = 0xD7;
constexpr unsigned char kCaseDistance = 0x20;
constexpr std::pair<unsigned char, unsigned char> kScatteredLetters[] = {
    {0x8A, 0x9A},  // S caron
    {0x8C, 0x9C},  // OE
    {0x8E, 0x9E},  // Z caron
    {0x9F, 0xFF},  // Y diaeresis
};
constexpr std::size_t kByteValues = 256;

constexpr std::array<unsigned char, kByteValues> MakeFoldTable()
{
    std::array<unsigned char, kByteValues> table{};
    for (std::size_t byte = 0; byte < kByteValues; ++byte)
        table[byte] = static_cast<unsigned char>(byte);
    for (unsigned char upper = 'A'; upper <= 'Z'; ++upper)
        table[upper] = static_cast<unsigned char>(upper + kCaseDistance);
    for (unsigned upper = kLatinUpperFirst; upper <= kLatinUpperLast; ++upper) {
        if (upper != kMultiplicationSign)
            table[upper] = static_cast<unsigned char>(upper + kCaseDistance);
    }
    for (const auto& [upper, lower] : kScatteredLetters)
        table[upper] = lower;
    return table;
}

constexpr std::array<unsigned char, kByteValues> kFold = MakeFoldTable();

unsigned char Folded(char byte)
{
    return kFold[static_cast<unsigned char>(byte)];
}

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Folded(x) == Folded(y); });
}

std::string FoldedName(std::string_view name)
{
    std::string folded(name);
    for (char& byte : folded)
        byte = static_cast<char>(Folded(byte));
    return folded;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsBlankLine(std::string_view text)
{
    return Trim(text).empty();
}

// A line end inside a name or value would start a new line of the file.
std::string OneLine(std::string_view text)
{
    std::string line(text);
    std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return line;
}

// A name as the caller gives it, in the form it takes in the file.
std::string CleanName(std::string_view name)
{
    return std::string(Trim(OneLine(name)));
}

// The name of a section header line; nullopt for any other line.
std::optional<std::string_view> HeaderName(std::string_view text)
{
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty() || trimmed.front() != kSectionOpen)
        return std::nullopt;
    const std::size_t close = trimmed.rfind(kSectionClose);
    if (close == kNotFound)
        return std::nullopt;
    return Trim(trimmed.substr(1, close - 1));
}

std::string_view WithoutQuotes(std::string_view value)
{
    if (value.size() >= kShortestQuoted && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        return value.substr(1, value.size() - kShortestQuoted);
    return value;
}

}  // namespace

std::string_view IniFile::Line::key() const
{
    return std::string_view(text).substr(keyBegin, keyLength);
}

std::string_view IniFile::Line::rawValue() const
{
    return std::string_view(text).substr(valueBegin, valueLength);
}

IniFile::IniFile(std::string_view bytes)
{
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of(kLineBreaks, start);
        std::string text(bytes.substr(start, end == kNotFound ? kNotFound : end - start));
        if (const auto name = HeaderName(text)) {
            Section section;
            section.name = std::string(*name);
            section.header.text = std::move(text);
            m_sections.push_back(std::move(section));
        } else if (m_sections.empty()) {
            m_preamble.push_back(makeLine(std::move(text), false));
        } else {
            m_sections.back().lines.push_back(makeLine(std::move(text), true));
        }
        if (end == kNotFound)
            break;
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
}

IniFile::Line IniFile::makeLine(std::string text, bool inSection)
{
    Line line;
    line.text = std::move(text);
    const std::string_view whole = line.text;
    const std::string_view trimmed = Trim(whole);
    if (!inSection || trimmed.empty() || trimmed.front() == kComment)
        return line;
    const std::size_t separator = whole.find(kKeySeparator);
    if (separator == kNotFound)
        return line;
    const std::string_view key = Trim(whole.substr(0, separator));
    if (key.empty())
        return line;
    const std::string_view value = Trim(whole.substr(separator + 1));
    line.isKey = true;
    line.keyBegin = static_cast<std::size_t>(key.data() - whole.data());
    line.keyLength = key.size();
    line.valueBegin = static_cast<std::size_t>(value.data() - whole.data());
    line.valueLength = value.size();
    return line;
}

IniFile::Line IniFile::makeKeyLine(std::string_view key, std::string_view value)
{
    std::string text;
    text.reserve(key.size() + 1 + value.size());
    text.append(key);
    text.push_back(kKeySeparator);
    text.append(value);
    return makeLine(std::move(text), true);
}

std::string IniFile::toBytes() const
{
    std::size_t size = 0;
    for (const Line& line : m_preamble)
        size += line.text.size() + kLineEnd.size();
    for (const Section& section : m_sections) {
        size += section.header.text.size() + kLineEnd.size();
        for (const Line& line : section.lines)
            size += line.text.size() + kLineEnd.size();
    }
    std::string bytes;
    bytes.reserve(size);
    const auto append = [&bytes](const Line& line) {
        bytes += line.text;
        bytes += kLineEnd;
    };
    std::for_each(m_preamble.begin(), m_preamble.end(), append);
    for (const Section& section : m_sections) {
        append(section.header);
        std::for_each(section.lines.begin(), section.lines.end(), append);
    }
    return bytes;
}

IniFile::Section* IniFile::findSection(std::string_view name)
{
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

const IniFile::Section* IniFile::findSection(std::string_view name) const
{
    const std::string wanted = CleanName(name);
    if (wanted.empty())
        return nullptr;
    const auto found = std::find_if(m_sections.begin(), m_sections.end(),
                                    [&wanted](const Section& section) { return SameName(section.name, wanted); });
    return found == m_sections.end() ? nullptr : &*found;
}

const IniFile::Line* IniFile::lastLine() const
{
    if (m_sections.empty())
        return m_preamble.empty() ? nullptr : &m_preamble.back();
    const Section& last = m_sections.back();
    return last.lines.empty() ? &last.header : &last.lines.back();
}

std::optional<std::string_view> IniFile::value(std::string_view section, std::string_view key) const
{
    const Section* found = findSection(section);
    if (found == nullptr)
        return std::nullopt;
    const std::string wanted = CleanName(key);
    for (const Line& line : found->lines) {
        if (line.isKey && SameName(line.key(), wanted))
            return WithoutQuotes(line.rawValue());
    }
    return std::nullopt;
}

bool IniFile::setValue(std::string_view section, std::string_view key, std::string_view value)
{
    if (!isStorableSection(section) || !isStorableKey(key))
        return false;
    const std::string sectionName = CleanName(section);
    const std::string keyName = CleanName(key);
    const std::string text = OneLine(value);

    Section* found = findSection(sectionName);
    if (found == nullptr) {
        // Sections are set apart by a blank line, as the system's own
        // profile functions write them.
        if (const Line* last = lastLine(); last != nullptr && !IsBlankLine(last->text))
            (m_sections.empty() ? m_preamble : m_sections.back().lines).push_back(Line{});
        Section added;
        added.name = sectionName;
        added.header.text = kSectionOpen + sectionName + kSectionClose;
        added.lines.push_back(makeKeyLine(keyName, text));
        m_sections.push_back(std::move(added));
        return true;
    }

    auto insertAt = found->lines.begin();
    for (auto line = found->lines.begin(); line != found->lines.end(); ++line) {
        if (!line->isKey)
            continue;
        if (SameName(line->key(), keyName)) {
            // The key keeps the spelling the file gave it.
            *line = makeKeyLine(std::string(line->key()), text);
            return true;
        }
        insertAt = line + 1;
    }
    // After the last key, so that blank lines and comments that lead to the
    // next section stay where they are.
    found->lines.insert(insertAt, makeKeyLine(keyName, text));
    return true;
}

bool IniFile::removeKey(std::string_view section, std::string_view key)
{
    Section* found = findSection(section);
    if (found == nullptr)
        return false;
    const std::string wanted = CleanName(key);
    return std::erase_if(found->lines,
                         [&wanted](const Line& line) { return line.isKey && SameName(line.key(), wanted); })
        > 0;
}

bool IniFile::removeSection(std::string_view section)
{
    const std::string wanted = CleanName(section);
    if (wanted.empty())
        return false;
    return std::erase_if(m_sections, [&wanted](const Section& each) { return SameName(each.name, wanted); }) > 0;
}

std::vector<std::string> IniFile::keys(std::string_view section) const
{
    std::vector<std::string> names;
    const Section* found = findSection(section);
    if (found == nullptr)
        return names;
    std::unordered_set<std::string> seen;
    for (const Line& line : found->lines) {
        if (line.isKey && seen.insert(FoldedName(line.key())).second)
            names.emplace_back(line.key());
    }
    return names;
}

std::vector<std::string> IniFile::sections() const
{
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const Section& section : m_sections) {
        if (!section.name.empty() && seen.insert(FoldedName(section.name)).second)
            names.push_back(section.name);
    }
    return names;
}

bool IniFile::isStorableSection(std::string_view section)
{
    return !CleanName(section).empty();
}

bool IniFile::isStorableKey(std::string_view key)
{
    const std::string name = CleanName(key);
    return !name.empty() && name.find(kKeySeparator) == std::string::npos && name.front() != kComment
        && name.front() != kSectionOpen;
}

}  // namespace vexa::profile
