#include "server/replay/ReplayExport.h"

#include "server/replay/ReplayFile.h"

#include "platform/AnsiText.h"
#include "platform/StagedFile.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace vexa::server {

namespace {

/// Rows read from the file at a time.
constexpr std::size_t kChunkRows = 65536;
/// Text gathered before it is written out.
constexpr std::size_t kFlushBytes = std::size_t(1) << 20;
constexpr int kNoColumn = -1;

void AppendNumber(std::string& text, double number)
{
    if (std::isnan(number)) {
        text += "NaN";
        return;
    }
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, number);
    text.append(buffer, error == std::errc() ? end : buffer);
}

/// Quotes a name that holds a comma or a quote.
void AppendName(std::string& text, const std::string& name)
{
    if (name.find_first_of(",\"") == std::string::npos) {
        text += name;
        return;
    }
    text += '"';
    for (const char c : name) {
        if (c == '"')
            text += '"';
        text += c;
    }
    text += '"';
}

/// Gathers the CSV text and writes it out in large pieces.
class CsvWriter {
public:
    explicit CsvWriter(const ExportSink& out) : m_out(out) {}

    std::string& text() { return m_text; }
    bool flushIfFull() { return m_text.size() < kFlushBytes || flush(); }
    bool flush()
    {
        const bool written = m_out(m_text);
        m_text.clear();
        return written;
    }

private:
    const ExportSink& m_out;
    std::string m_text;
};

}  // namespace

ExportOutcome ExportCsv(ReplayFile& file, const ExportRequest& request, const ExportSink& out)
{
    ExportOutcome outcome;
    const std::vector<std::string>& names = file.names();

    // The column of each of the file's names; kNoColumn for one not exported.
    std::vector<int> columnOf(names.size(), kNoColumn);
    std::vector<std::string> header;
    if (request.names.isEmpty()) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            columnOf[i] = int(i);
            header.push_back(names[i]);
        }
    } else {
        std::unordered_map<std::string, std::size_t> index;
        for (std::size_t i = 0; i < names.size(); ++i)
            index.emplace(names[i], i);
        for (const QString& wanted : request.names) {
            const auto found = index.find(wanted.toStdString());
            if (found == index.end()) {
                outcome.error = QStringLiteral("the file holds no name \"%1\"").arg(wanted);
                return outcome;
            }
            if (columnOf[found->second] == kNoColumn) {
                columnOf[found->second] = int(header.size());
                header.push_back(found->first);
            }
        }
    }

    const std::optional<std::int64_t> start = file.PositionAt(request.range.from);
    if (!start.has_value()) {
        outcome.error = file.error();
        return outcome;
    }
    std::vector<std::optional<double>> values(header.size());
    if (request.fill) {
        std::vector<std::optional<ReplayRow>> before;
        if (!file.LastRowsBefore(*start, before)) {
            outcome.error = file.error();
            return outcome;
        }
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (before[i].has_value() && columnOf[i] != kNoColumn)
                values[std::size_t(columnOf[i])] = before[i]->value;
        }
    }

    CsvWriter writer(out);
    std::string& text = writer.text();
    text += "time";
    for (const std::string& name : header) {
        text += ',';
        AppendName(text, name);
    }
    text += '\n';

    bool pending = false;
    double pendingTime = 0.0;
    const auto writeRow = [&] {
        AppendNumber(text, pendingTime);
        for (std::optional<double>& value : values) {
            text += ',';
            if (value.has_value())
                AppendNumber(text, *value);
            if (!request.fill)
                value.reset();
        }
        text += '\n';
        ++outcome.rows;
        pending = false;
    };

    std::vector<ReplayRow> rows;
    std::int64_t position = *start;
    bool done = false;
    while (!done && position < file.endPosition()) {
        if (!file.Read(position, file.endPosition(), kChunkRows, rows, position)) {
            outcome.error = file.error();
            return outcome;
        }
        if (rows.empty())
            break;
        for (const ReplayRow& row : rows) {
            if (row.time > request.range.to) {
                done = true;
                break;
            }
            const int column = columnOf[std::size_t(row.name)];
            if (column == kNoColumn)
                continue;
            if (pending && row.time != pendingTime)
                writeRow();
            pending = true;
            pendingTime = row.time;
            values[std::size_t(column)] = row.value;
        }
        if (!writer.flushIfFull()) {
            outcome.error = QStringLiteral("the CSV could not be written");
            return outcome;
        }
    }
    if (pending)
        writeRow();
    if (!writer.flush())
        outcome.error = QStringLiteral("the CSV could not be written");
    return outcome;
}

ExportOutcome ExportCsvFile(ReplayFile& file, const ExportRequest& request, const QString& path)
{
    StagedFile staged(ToLocalPath(path));
    ExportOutcome outcome = ExportCsv(file, request, [&staged](std::string_view text) { return staged.write(text) == 0; });
    int failure = staged.error();
    if (outcome.error.isEmpty() && failure == 0)
        failure = staged.commit();
    if (failure != 0)
        outcome.error = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(failure)));
    else if (!outcome.error.isEmpty())
        outcome.error = QStringLiteral("%1: %2").arg(file.path(), outcome.error);
    return outcome;
}

}  // namespace vexa::server
