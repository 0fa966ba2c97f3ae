#include "Snapshot.h"

#include "app/FrameWindow.h"
#include "app/GraphsAndViews.h"
#include "app/printing/OutputPages.h"
#include "app/printing/PageExport.h"
#include "document/DisplayDocument.h"
#include "document/GraphTable.h"
#include "graphs/GraphWindow.h"
#include "graphs/GraphWindows.h"
#include "platform/MessageHandler.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

namespace vexa::app {

namespace {

constexpr int kExitWritten = 0;
constexpr int kExitFailed = 1;
constexpr int kMsPerSecond = 1000;
constexpr const char* kSnapshotOption = "snapshot";
constexpr const char* kAfterOption = "after";

void PrintError(const QString& text)
{
    std::fprintf(stderr, "vexaview: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

/// Message boxes of a run nobody watches: written to standard error and
/// dismissed as Escape would.
class StandardErrorMessages : public MessageHandler {
public:
    StandardErrorMessages() : m_previous(SetMessageHandler(this)) {}
    ~StandardErrorMessages() override { SetMessageHandler(m_previous); }
    StandardErrorMessages(const StandardErrorMessages&) = delete;
    StandardErrorMessages& operator=(const StandardErrorMessages&) = delete;

    MessageAnswer show(const MessageRequest& request) override
    {
        PrintError(QStringLiteral("%1: %2").arg(request.caption, request.text));
        return DismissAnswer(request.buttons);
    }
    void beep() override {}

private:
    MessageHandler* m_previous;
};

/// Why \p output cannot be written, or nothing.
std::optional<QString> OutputProblem(const QString& output)
{
    const QFileInfo file(output);
    const QFileInfo folder(file.absolutePath());
    if (!folder.exists())
        return QStringLiteral("No such folder: %1").arg(folder.filePath());
    if (!folder.isDir() || !folder.isWritable())
        return QStringLiteral("Cannot write into the folder %1").arg(folder.filePath());
    if (file.isDir())
        return QStringLiteral("%1 is a folder").arg(output);
    return std::nullopt;
}

}  // namespace

std::optional<SnapshotRequest> SnapshotFromOptions(const LongOptions& options, QString& error)
{
    const auto snapshot = options.find(QString::fromLatin1(kSnapshotOption));
    if (snapshot == options.end())
        return std::nullopt;
    SnapshotRequest request;
    if (snapshot->second.isEmpty()) {
        error = QStringLiteral("--snapshot needs the name of the file to write");
        return request;
    }
    if (const auto after = options.find(QString::fromLatin1(kAfterOption)); after != options.end()) {
        bool number = false;
        const double seconds = after->second.toDouble(&number);
        if (!number || seconds < 0.0) {
            error = QStringLiteral("--after needs a number of seconds, not \"%1\"").arg(after->second);
            return request;
        }
        request.afterSeconds = seconds;
    }
    request.output = snapshot->second;
    return request;
}

int RunSnapshot(const SnapshotRequest& request, const QStringList& arguments, const std::string& settingsFile,
                const QIcon& icon)
{
    if (const std::optional<QString> problem = OutputProblem(request.output)) {
        PrintError(*problem);
        return kExitFailed;
    }
    const CommandLineStart wanted = ParseArguments(arguments);
    if (!wanted.hasFile || wanted.file.isEmpty()) {
        PrintError(QStringLiteral("--snapshot needs a display file: -F FILE"));
        return kExitFailed;
    }
    if (!QFileInfo(wanted.file).isFile()) {
        PrintError(QStringLiteral("No such file: %1").arg(wanted.file));
        return kExitFailed;
    }
    if (!wanted.hasView || wanted.view.isEmpty()) {
        PrintError(QStringLiteral("--snapshot needs a view: -V VIEW"));
        return kExitFailed;
    }

    StandardErrorMessages messages;
    FrameWindow frame(settingsFile, icon);
    frame.start(arguments);
    const FrameWindow::Probe probe = frame.probe();
    int status = kExitFailed;
    if (!probe.document.isOpen()) {
        PrintError(QStringLiteral("Unable to open the display file %1").arg(wanted.file));
    } else if (probe.graphsAndViews.findView(wanted.view) <= 0) {
        PrintError(QStringLiteral("No such view: %1").arg(wanted.view));
    } else {
        QEventLoop running;
        QTimer::singleShot(static_cast<int>(request.afterSeconds * kMsPerSecond), &running, &QEventLoop::quit);
        running.exec();

        std::vector<printing::OutputPage> pages;
        for (int index = 0; index < kMaxGraphs; ++index) {
            if (graphs::GraphWindow* window = probe.graphWindows.graphWindow(index)) {
                const std::vector<printing::OutputPage> own = printing::OutputPagesOf(window->resources(), false);
                pages.insert(pages.end(), own.begin(), own.end());
            }
        }
        QString error;
        if (pages.empty())
            PrintError(QStringLiteral("The view %1 shows no graph").arg(wanted.view));
        else if (!printing::WritePages(request.output, pages, error))
            PrintError(QStringLiteral("Unable to write %1: %2").arg(request.output, error));
        else
            status = kExitWritten;
    }
    frame.close();
    return status;
}

}  // namespace vexa::app
