#include "app/CommandLine.h"
#include "app/FrameWindow.h"
#include "app/Snapshot.h"
#include "app/WindowPolish.h"
#include "platform/SettingsLocation.h"
#include "platform/TerminationSignals.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QStringList arguments = QApplication::arguments().mid(1);
    const vexa::app::LongOptions longOptions = vexa::app::TakeLongOptions(arguments);
    const QString commandLine = vexa::app::JoinArguments(arguments);
    const QIcon icon = vexa::app::FrameWindow::LoadIcon();
    vexa::app::InstallWindowPolish(icon);

    QString error;
    if (const auto snapshot = vexa::app::SnapshotFromOptions(longOptions, error)) {
        if (!error.isEmpty()) {
            std::fprintf(stderr, "vexaview: %s\n", error.toLocal8Bit().constData());
            return 1;
        }
        return vexa::app::RunSnapshot(*snapshot, commandLine, vexa::SettingsFilePath(), icon);
    }

    vexa::app::FrameWindow frame(vexa::SettingsFilePath(), icon);
    // Ended by the session or a terminal: close as Exit would.
    vexa::TerminationSignals termination([&frame] { frame.close(); }, &application);
    frame.start(commandLine);
    return QApplication::exec();
}
