#include "app/CommandLine.h"
#include "app/FrameWindow.h"
#include "app/WindowPolish.h"
#include "platform/SettingsLocation.h"
#include "platform/ProgramEnd.h"
#include "platform/TerminationSignals.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QIcon icon = vexa::app::FrameWindow::LoadIcon();
    vexa::app::InstallWindowPolish(icon);
    vexa::app::FrameWindow frame(vexa::SettingsFilePath(), icon);
    // Ended by the session or a terminal: whatever is open closes without a
    // question, and the frame goes with the end of main().
    vexa::TerminationSignals termination([] { vexa::EndProgram(); }, &application);
    frame.start(QApplication::arguments().mid(1));
    // A signal during a box of the start-up has ended every loop already.
    return vexa::IsProgramEnding() ? 0 : QApplication::exec();
}
