#include "server/replay/ReplayOptions.h"

#include "server/inputs/CommandLineOptions.h"
#include "server/replay/ReplayExport.h"
#include "server/replay/ReplayFile.h"
#include "server/replay/ReplayInput.h"

#include <cstdio>
#include <functional>

namespace vexa::server {

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;

using Option = CommandLineOption<ReplayOptions>;

std::function<bool(ReplayOptions&, const QString&)> TakeTime(std::optional<TimeArgument> ReplayOptions::*field)
{
    return [field](ReplayOptions& options, const QString& value) {
        options.*field = ParseTimeArgument(value);
        return (options.*field).has_value();
    };
}

const std::vector<Option>& Options()
{
    static const std::vector<Option> options = {
        {"--replay", "a recording or a CSV file",
         [](ReplayOptions& options, const QString& value) {
             options.replayFile = value;
             return !value.isEmpty();
         }},
        {"--speed", "a number from 0.1 to 100",
         [](ReplayOptions& options, const QString& value) {
             bool ok = false;
             options.speed = value.toDouble(&ok);
             return ok && options.speed >= ReplayInput::kSlowest && options.speed <= ReplayInput::kFastest;
         }},
        {"--loop", nullptr, [](ReplayOptions& options, const QString&) { return options.loop = true; }},
        {"--from", "seconds since the epoch, ISO 8601 or +SECONDS from the start", TakeTime(&ReplayOptions::from)},
        {"--to", "seconds since the epoch, ISO 8601 or +SECONDS from the start", TakeTime(&ReplayOptions::to)},
        {"--export", "a recording or a CSV file",
         [](ReplayOptions& options, const QString& value) {
             options.exportFile = value;
             return !value.isEmpty();
         }},
        {"--names", "names separated by commas",
         [](ReplayOptions& options, const QString& value) {
             options.names = value.split(QLatin1Char(','), Qt::SkipEmptyParts);
             for (QString& name : options.names)
                 name = name.trimmed();
             return !options.names.isEmpty();
         }},
        {"--out", "a file to write",
         [](ReplayOptions& options, const QString& value) {
             options.out = value;
             return !value.isEmpty();
         }},
        {"--no-fill", nullptr, [](ReplayOptions& options, const QString&) { return !(options.fill = false); }},
    };
    return options;
}

int Failed(const QString& text)
{
    std::fprintf(stderr, "vexalink: %s\n", text.toLocal8Bit().constData());
    return kExitFailed;
}

}  // namespace

ReplayOptionsResult ParseReplayOptions(const QStringList& arguments)
{
    ReplayOptionsResult result;
    result.error = ReadCommandLine(arguments, Options(), result.options);
    if (!result.error.isEmpty())
        return result;
    if (!result.options.replayFile.isEmpty() && !result.options.exportFile.isEmpty())
        result.error = QStringLiteral("--replay and --export cannot be given together");
    return result;
}

int RunExport(const ReplayOptions& options)
{
    OpenedReplayFile opened = OpenReplayFile(options.exportFile);
    if (opened.file == nullptr)
        return Failed(opened.error);
    ReplayFile& file = *opened.file;
    QString error;
    const std::optional<TimeRange> range = ResolveRange(file.firstTime(), file.lastTime(), options.from, options.to, error);
    if (!range.has_value())
        return Failed(QStringLiteral("%1: %2").arg(options.exportFile, error));
    const ExportRequest request{*range, options.names, options.fill};

    if (options.out.isEmpty()) {
        const ExportOutcome outcome = ExportCsv(file, request, [](std::string_view text) {
            return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
        });
        return outcome.error.isEmpty() ? kExitDone : Failed(QStringLiteral("%1: %2").arg(options.exportFile, outcome.error));
    }
    const ExportOutcome outcome = ExportCsvFile(file, request, options.out);
    if (!outcome.error.isEmpty())
        return Failed(outcome.error);
    return kExitDone;
}

}  // namespace vexa::server
