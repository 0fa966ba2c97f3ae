#include "platform/SettingsLocation.h"
#include "platform/ProgramEnd.h"
#include "platform/TerminationSignals.h"
#include "server/LogList.h"
#include "server/ServerWindow.h"
#include "server/recording/RecordingOptions.h"

#include <QApplication>
#include <QIcon>
#include <QStringList>

#include <cstdio>
#include <utility>

namespace {

/// The display program starts the server with this, to have it out of the way.
constexpr const char* kMinimizedOption = "--minimized";
/// Copies the log into a file as well (--log-file PATH or --log-file=PATH),
/// for a script or a test that watches the server.
constexpr const char* kLogFileOption = "--log-file";
/// The exit status when the server cannot even load its icon.
constexpr int kExitNoIcon = 1;
/// The exit status when an option of the command line has a bad value.
constexpr int kExitBadOption = 2;

/// Arguments the server does not know are ignored.
vexa::server::ServerWindow::ShowMode ShowModeFrom(const QStringList& arguments)
{
    return arguments.mid(1).contains(QString::fromLatin1(kMinimizedOption))
               ? vexa::server::ServerWindow::ShowMode::Minimized
               : vexa::server::ServerWindow::ShowMode::Normal;
}

/// The path given with --log-file; empty when there is none.
QString LogFileFrom(const QStringList& arguments)
{
    const QString option = QString::fromLatin1(kLogFileOption);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == option && i + 1 < arguments.size())
            return arguments[i + 1];
        if (arguments[i].startsWith(option + QLatin1Char('=')))
            return arguments[i].mid(option.size() + 1);
    }
    return {};
}

/// The command line as the program was given it, for reading before the
/// application exists.
QStringList ArgumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

}  // namespace

int main(int argc, char** argv)
{
    // An export needs no window, nor a display to show one on.
    const vexa::server::ReplayOptionsResult replay = vexa::server::ParseReplayOptions(ArgumentsOf(argc, argv));
    if (!replay.error.isEmpty()) {
        std::fprintf(stderr, "vexalink: %s\n", replay.error.toLocal8Bit().constData());
        return kExitBadOption;
    }
    if (!replay.options.exportFile.isEmpty())
        return vexa::server::RunExport(replay.options);

    QApplication application(argc, argv);
    const vexa::server::InputOptionsResult options = vexa::server::ParseInputOptions(QApplication::arguments());
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "vexalink: %s\n", options.error.toLocal8Bit().constData());
        return kExitBadOption;
    }
    const vexa::server::recording::RecordingOption record =
        vexa::server::recording::ParseRecordingOption(QApplication::arguments());
    if (!record.error.isEmpty()) {
        std::fprintf(stderr, "vexalink: %s\n", record.error.toLocal8Bit().constData());
        return kExitBadOption;
    }
    const vexa::server::FaultOptionsResult faults = vexa::server::ParseFaultOptions(QApplication::arguments());
    if (!faults.error.isEmpty()) {
        std::fprintf(stderr, "vexalink: %s\n", faults.error.toLocal8Bit().constData());
        return kExitBadOption;
    }
    QIcon icon = vexa::server::ServerWindow::LoadIcon();
    if (icon.isNull())
        return kExitNoIcon;

    vexa::server::ServerWindow window(vexa::SettingsFilePath(), std::move(icon));
    if (const QString logFile = LogFileFrom(QApplication::arguments()); !logFile.isEmpty()) {
        if (!window.log().copyTo(logFile)) {
            std::fprintf(stderr, "vexalink: cannot write the log to \"%s\"\n", logFile.toLocal8Bit().constData());
            return kExitBadOption;
        }
    }
    window.setInputOverrides(options.overrides);
    window.setRecordFolder(record.folder);
    window.setReplayOptions(replay.options);
    window.setFaultOverrides(faults.overrides);
    // Ended by the session or a terminal: whatever dialog is open closes, and
    // the shutdown below takes the transport down in order.
    vexa::TerminationSignals termination([] { vexa::EndProgram(); }, &application);
    window.start(ShowModeFrom(QApplication::arguments()));
    const int status = vexa::IsProgramEnding() ? 0 : QApplication::exec();
    window.FinishShutdown();
    return status;
}
