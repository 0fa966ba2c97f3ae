#include "app/CommandLine.h"
#include "app/FrameWindow.h"
#include "app/WindowPolish.h"
#include "platform/SettingsLocation.h"
#include "platform/TerminationSignals.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QIcon icon = vexa::app::FrameWindow::LoadIcon();
    vexa::app::InstallWindowPolish(icon);
    vexa::app::FrameWindow frame(vexa::SettingsFilePath(), icon);
    // Ended by the session or a terminal: close as Exit would.
    vexa::TerminationSignals termination([&frame] { frame.close(); }, &application);
    frame.start(QApplication::arguments().mid(1));
    return QApplication::exec();
}
