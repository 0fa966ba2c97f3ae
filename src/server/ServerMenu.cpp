#include "server/ServerMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vexa::server {

ServerMenu::ServerMenu(QMenuBar* bar) : QObject(bar)
{
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    AddItem(file, ServerCommand::SaveNamesAsMeasurementFile, QStringLiteral("Save Names As Measurement File..."));
    AddItem(file, ServerCommand::Record, QStringLiteral("Record"), true);
    AddItem(file, ServerCommand::Replay, QStringLiteral("Replay..."));
    file->addSeparator();
    AddItem(file, ServerCommand::Exit, QStringLiteral("E&xit"));

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    AddItem(view, ServerCommand::ClearScreen, QStringLiteral("&Clear Screen"));
    AddItem(view, ServerCommand::ShowConnections, QStringLiteral("&Show Connections"));
    AddItem(view, ServerCommand::MeasurementInformation, QStringLiteral("Measurement Information"));
    view->addSeparator();
    AddItem(view, ServerCommand::Sources, QStringLiteral("Sources"));
    AddItem(view, ServerCommand::LiveValues, QStringLiteral("Live Values"));

    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    QMenu* dataPath = options->addMenu(QStringLiteral("&Select Data Path"));
    AddItem(dataPath, ServerCommand::SelectDde, QStringLiteral("&DDE"), true);
    AddItem(dataPath, ServerCommand::SelectTcpIp, QStringLiteral("&TCP/IP"), true);
    AddItem(options, ServerCommand::ChangePort, QString::fromLatin1(kPortText));
    QMenu* verbose = options->addMenu(QStringLiteral("&Verbose"));
    AddItem(verbose, ServerCommand::VerboseOn, QStringLiteral("&On"), true);
    AddItem(verbose, ServerCommand::VerboseOff, QStringLiteral("O&ff"), true);
    QMenu* timeOfDay = options->addMenu(QStringLiteral("&Time Of Day"));
    AddItem(timeOfDay, ServerCommand::TimeOfDayOn, QStringLiteral("&Send Time Of Day With Each Data Packet"), true);
    AddItem(timeOfDay, ServerCommand::TimeOfDayOff, QStringLiteral("&Do Not Send Time Of Day With Each Data Packet"),
            true);
    options->addSeparator();
    AddItem(options, ServerCommand::DataSources, QStringLiteral("Data Sources..."));
    AddItem(options, ServerCommand::SimulateFaults, QStringLiteral("Simulate Faults..."));

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    AddItem(help, ServerCommand::About, QStringLiteral("&About"));
    AddItem(help, ServerCommand::WebLink, QString::fromLatin1(kWebLinkText));

    // Every start begins with verbose off and the time of day sent.
    checkVerbose(false);
    checkTimeOfDay(true);
}

QAction* ServerMenu::AddItem(QMenu* menu, ServerCommand command, const QString& text, bool checkable)
{
    QAction* action = menu->addAction(text);
    const int id = CommandId(command);
    action->setData(id);
    action->setObjectName(QString::number(id));
    action->setCheckable(checkable);
    // The command decides the check marks itself: a click on a checkable item
    // must not toggle it behind the command's back.
    connect(action, &QAction::triggered, this, [this, action, id] {
        if (action->isCheckable())
            action->setChecked(!action->isChecked());
        emit commandChosen(id);
    });
    m_actions.emplace(command, action);
    return action;
}

QAction* ServerMenu::action(ServerCommand command) const
{
    const auto found = m_actions.find(command);
    return found != m_actions.end() ? found->second : nullptr;
}

void ServerMenu::CheckOneOf(ServerCommand first, ServerCommand second, bool firstChecked)
{
    action(first)->setChecked(firstChecked);
    action(second)->setChecked(!firstChecked);
}

void ServerMenu::checkDataPath(int dataPath)
{
    action(ServerCommand::SelectDde)->setChecked(dataPath == CommandId(ServerCommand::SelectDde));
    action(ServerCommand::SelectTcpIp)->setChecked(dataPath == CommandId(ServerCommand::SelectTcpIp));
}

void ServerMenu::checkVerbose(bool on)
{
    CheckOneOf(ServerCommand::VerboseOn, ServerCommand::VerboseOff, on);
}

void ServerMenu::checkTimeOfDay(bool on)
{
    CheckOneOf(ServerCommand::TimeOfDayOn, ServerCommand::TimeOfDayOff, on);
}

void ServerMenu::showPort(int port)
{
    action(ServerCommand::ChangePort)
        ->setText(QStringLiteral("Change TCP/IP Port Assignment (Current value: '%1')").arg(port));
}

}  // namespace vexa::server
