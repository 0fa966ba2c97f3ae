#include "platform/SettingsLocation.h"
#include "platform/TerminationSignals.h"
#include "server/ServerWindow.h"

#include <QApplication>
#include <QIcon>
#include <QStringList>

#include <utility>

namespace {

/// The display program starts the server with this, to have it out of the way.
constexpr const char* kMinimizedOption = "--minimized";
/// The exit status when the server cannot even load its icon.
constexpr int kExitNoIcon = 1;

/// Arguments the server does not know are ignored.
vexa::server::ServerWindow::ShowMode ShowModeFrom(const QStringList& arguments)
{
    return arguments.mid(1).contains(QString::fromLatin1(kMinimizedOption))
               ? vexa::server::ServerWindow::ShowMode::Minimized
               : vexa::server::ServerWindow::ShowMode::Normal;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QIcon icon = vexa::server::ServerWindow::LoadIcon();
    if (icon.isNull())
        return kExitNoIcon;

    vexa::server::ServerWindow window(vexa::SettingsFilePath(), std::move(icon));
    // Ended by the session or a terminal: shut the transport down in order.
    vexa::TerminationSignals termination([&window] { window.close(); }, &application);
    window.start(ShowModeFrom(QApplication::arguments()));
    const int status = QApplication::exec();
    window.FinishShutdown();
    return status;
}
