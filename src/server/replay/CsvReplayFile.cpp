#include "server/replay/CsvReplayFile.h"

#include "platform/AnsiText.h"
#include "server/inputs/MeasurementName.h"
#include "server/replay/ReplayTime.h"

#include <QFile>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <unordered_set>

namespace vexa::server {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char kQuote = '"';
constexpr char kSeparator = ',';

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

QString Quoted(std::string_view text)
{
    return QStringLiteral("\"%1\"").arg(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

/// The whole of \p text as a number ("NaN" and "inf" included), or nullopt.
std::optional<double> CellNumber(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double number = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc() || stop != end || text.empty())
        return std::nullopt;
    return number;
}

/// Reads CSV records one at a time: fields separated by commas, quoted
/// fields with doubled quotes inside, lines ended by LF or CRLF.
class CsvRecords {
public:
    explicit CsvRecords(std::string_view text) : m_text(text) {}

    /// The next record's cells into \p cells; false at the end of the text
    /// or at a fault (then \p error is set).
    bool Next(std::vector<std::string>& cells, QString& error)
    {
        cells.clear();
        if (m_at >= m_text.size())
            return false;
        m_recordLine = m_line;
        m_ended = false;
        for (;;) {
            std::string& cell = cells.emplace_back();
            if (m_at < m_text.size() && m_text[m_at] == kQuote) {
                if (!ReadQuoted(cell, error))
                    return false;
            } else {
                const std::size_t stop = m_text.find_first_of(",\r\n", m_at);
                const std::size_t end = stop == std::string_view::npos ? m_text.size() : stop;
                cell.assign(m_text.substr(m_at, end - m_at));
                m_at = end;
            }
            if (m_at >= m_text.size())
                return true;
            const char next = m_text[m_at++];
            if (next == kSeparator)
                continue;
            if (next == '\r' && m_at < m_text.size() && m_text[m_at] == '\n')
                ++m_at;
            ++m_line;
            m_ended = true;
            return true;
        }
    }

    /// The line the last record began on, counted from 1.
    int recordLine() const { return m_recordLine; }
    /// False when the last record ran to the end of the text without a line end.
    bool recordEnded() const { return m_ended; }

private:
    bool ReadQuoted(std::string& cell, QString& error)
    {
        ++m_at;
        for (;;) {
            const std::size_t quote = m_text.find(kQuote, m_at);
            if (quote == std::string_view::npos) {
                error = QStringLiteral("line %1: a quoted field has no closing quote").arg(m_recordLine);
                return false;
            }
            const std::string_view part = m_text.substr(m_at, quote - m_at);
            m_line += int(std::count(part.begin(), part.end(), '\n'));
            cell.append(part);
            m_at = quote + 1;
            if (m_at < m_text.size() && m_text[m_at] == kQuote) {
                cell.push_back(kQuote);
                ++m_at;
                continue;
            }
            if (m_at < m_text.size() && std::string_view(",\r\n").find(m_text[m_at]) == std::string_view::npos) {
                error = QStringLiteral("line %1: text follows the closing quote of a field").arg(m_line);
                return false;
            }
            return true;
        }
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    int m_line = 1;
    int m_recordLine = 1;
    bool m_ended = false;
};

}  // namespace

std::unique_ptr<CsvReplayFile> CsvReplayFile::Open(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot be read: %1").arg(file.errorString());
        return nullptr;
    }
    if (file.size() > kMaxBytes) {
        error = QStringLiteral("is too large to replay as CSV: over %1 MB").arg(kMaxBytes >> 20);
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    return Parse(path, std::string_view(bytes.constData(), std::size_t(bytes.size())), error);
}

std::unique_ptr<CsvReplayFile> CsvReplayFile::Parse(const QString& path, std::string_view text, QString& error)
{
    std::unique_ptr<CsvReplayFile> file(new CsvReplayFile(path));
    if (!file->Load(text, error))
        return nullptr;
    return file;
}

bool CsvReplayFile::Load(std::string_view text, QString& error)
{
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    if (Trimmed(text).empty()) {
        error = QStringLiteral("is empty");
        return false;
    }
    CsvRecords records(text);
    std::vector<std::string> cells;
    if (!records.Next(cells, error))
        return false;
    if (cells.empty() || Trimmed(cells[0]) != "time") {
        error = QStringLiteral("line 1: the first column is %1, not \"time\"").arg(Quoted(Trimmed(cells[0])));
        return false;
    }
    std::unordered_set<std::string_view> seen;
    for (std::size_t column = 1; column < cells.size(); ++column) {
        const std::string_view name = Trimmed(cells[column]);
        if (!IsValidMeasurementName(name)) {
            error = QStringLiteral("line 1: column %1, %2, cannot be a measurement name").arg(column + 1).arg(Quoted(name));
            return false;
        }
        m_names.emplace_back(name);
    }
    for (const std::string& name : m_names) {
        if (!seen.insert(name).second) {
            error = QStringLiteral("line 1: the name %1 heads two columns").arg(Quoted(name));
            return false;
        }
    }

    const std::size_t columns = cells.size();
    double previous = -std::numeric_limits<double>::infinity();
    while (records.Next(cells, error)) {
        const int line = records.recordLine();
        if (cells.size() == 1 && Trimmed(cells[0]).empty())
            continue;
        if (cells.size() != columns) {
            error = records.recordEnded() || cells.size() > columns
                        ? QStringLiteral("line %1 has %2 cells where the header has %3")
                        : QStringLiteral("line %1 is cut short: it has %2 cells where the header has %3");
            error = error.arg(line).arg(cells.size()).arg(columns);
            return false;
        }
        const std::optional<double> time = ParseAbsoluteTime(cells[0]);
        if (!time.has_value()) {
            error = QStringLiteral("line %1: the time %2 is neither seconds nor ISO 8601")
                        .arg(line)
                        .arg(Quoted(Trimmed(cells[0])));
            return false;
        }
        if (*time < previous) {
            error = QStringLiteral("line %1: the time goes backwards, from %2 to %3")
                        .arg(line)
                        .arg(TimeText(previous), TimeText(*time));
            return false;
        }
        previous = *time;
        for (std::size_t column = 1; column < columns; ++column) {
            const std::string_view cell = Trimmed(cells[column]);
            if (cell.empty())
                continue;
            const std::optional<double> value = CellNumber(cell);
            if (!value.has_value()) {
                error = QStringLiteral("line %1: %2 in column %3 is not a number")
                            .arg(line)
                            .arg(Quoted(cell), Quoted(m_names[column - 1]));
                return false;
            }
            m_rows.push_back(ReplayRow{*time, std::int32_t(column - 1), *value,
                                       std::numeric_limits<double>::quiet_NaN()});
        }
    }
    if (!error.isEmpty())
        return false;
    if (m_rows.empty()) {
        error = QStringLiteral("holds no values below its header");
        return false;
    }
    m_begin = 0;
    m_end = std::int64_t(m_rows.size());
    m_firstTime = m_rows.front().time;
    m_lastTime = m_rows.back().time;
    return true;
}

std::optional<std::int64_t> CsvReplayFile::PositionAt(double time)
{
    const auto found = std::lower_bound(m_rows.begin(), m_rows.end(), time,
                                        [](const ReplayRow& row, double t) { return row.time < t; });
    return std::int64_t(found - m_rows.begin());
}

bool CsvReplayFile::Read(std::int64_t position, std::int64_t until, std::size_t maxRows,
                         std::vector<ReplayRow>& rows, std::int64_t& next)
{
    const std::int64_t from = std::clamp<std::int64_t>(position, 0, m_end);
    const std::int64_t to = std::clamp<std::int64_t>(std::min(until, from + std::int64_t(maxRows)), from, m_end);
    rows.assign(m_rows.begin() + from, m_rows.begin() + to);
    next = rows.empty() ? std::max(until, from) : to;
    return true;
}

}  // namespace vexa::server
