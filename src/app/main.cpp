#include "app/CommandLine.h"
#include "app/FrameWindow.h"
#include "app/Snapshot.h"
#include "app/WindowPolish.h"
#include "platform/SettingsLocation.h"
#include "platform/ProgramEnd.h"
#include "platform/TerminationSignals.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QStringList arguments = QApplication::arguments().mid(1);
    const vexa::app::LongOptions longOptions = vexa::app::TakeLongOptions(arguments);
    const QIcon icon = vexa::app::FrameWindow::LoadIcon();
    vexa::app::InstallWindowPolish(icon);

    QString error;
    if (const auto snapshot = vexa::app::SnapshotFromOptions(longOptions, error)) {
        if (!error.isEmpty()) {
            std::fprintf(stderr, "vexaview: %s\n", error.toLocal8Bit().constData());
            return 1;
        }
        return vexa::app::RunSnapshot(*snapshot, arguments, vexa::SettingsFilePath(), icon);
    }

    vexa::app::FrameWindow frame(vexa::SettingsFilePath(), icon);
    // Ended by the session or a terminal: whatever is open closes without a
    // question, and the frame goes with the end of main().
    vexa::TerminationSignals termination([] { vexa::EndProgram(); }, &application);
    frame.start(arguments);
    // A signal during a box of the start-up has ended every loop already.
    return vexa::IsProgramEnding() ? 0 : QApplication::exec();
}
