#include "TimeHistoryExport.h"

#include "ChartStyle.h"
#include "PageData.h"
#include "TimeHistoryGraph.h"

#include "graphs/core/GraphResources.h"
#include "platform/AnsiText.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/StagedFile.h"

#include <QFileInfo>
#include <QPointer>

#include <cstring>
#include <filesystem>

namespace vexa::graphs {

namespace {

constexpr const char* kCsvFilter = "CSV files (*.csv)";
constexpr const char* kAllFilesFilter = "All files (*)";
constexpr const char* kCsvSuffix = ".csv";

/// Characters a file name cannot hold, replaced in the suggested name.
const QString kUnsafeNameCharacters = QStringLiteral("/\\:*?\"<>|");

QString SuggestedName(const GraphResources& resources)
{
    QString name = GraphCaption(resources.definition).trimmed();
    for (const QChar unsafe : kUnsafeNameCharacters)
        name.replace(unsafe, QLatin1Char('_'));
    if (name.isEmpty())
        name = QStringLiteral("graph");
    return name + QLatin1String(kCsvSuffix);
}

}  // namespace

QString TimeHistoryCsv(const GraphResources& resources, ExportedChart chart)
{
    const TimeHistoryState* state = TimeHistoryStateOf(resources);
    if (state == nullptr)
        return {};
    return CommaSeparated(
        TimeHistoryRowsInView(resources, *state, chart == ExportedChart::History, AlarmColumns::With));
}

int WriteTextFile(const QString& path, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    StagedFile staged(ToLocalPath(path));
    staged.write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return staged.error() != 0 ? staged.error() : staged.commit();
}

void ExportTimeHistoryCsv(QWidget* owner, const GraphResources& resources, ExportedChart chart)
{
    if (TimeHistoryStateOf(resources) == nullptr)
        return;
    // The rows the user sees when choosing the command: the strip chart goes
    // on scrolling, and the graph may even close, while the dialog is up.
    const QString csv = TimeHistoryCsv(resources, chart);
    const QPointer<QWidget> window(owner);
    const QString title = QString::fromLatin1(kExportCsvTitle);
    FileDialogRequest request;
    request.owner = owner;
    request.title = title;
    request.initialPath = SuggestedName(resources);
    request.mode = FileDialogMode::Create;
    request.filters = {QString::fromLatin1(kCsvFilter), QString::fromLatin1(kAllFilesFilter)};
    const std::optional<QString> chosen = RunFileDialog(request);
    if (!chosen.has_value() || chosen->isEmpty())
        return;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1String(kCsvSuffix);
    std::error_code ignored;
    if (std::filesystem::is_regular_file(ToLocalPath(path), ignored) &&
        ShowMessage(window, QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(path), title,
                    MessageIcon::Exclamation, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    if (const int error = WriteTextFile(path, csv); error != 0) {
        ShowMessage(window,
                    QStringLiteral("Could not write %1:\n%2").arg(path, QString::fromLocal8Bit(std::strerror(error))),
                    title, MessageIcon::Stop);
    }
}

}  // namespace vexa::graphs
