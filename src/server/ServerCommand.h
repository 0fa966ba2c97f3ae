#pragma once

#include "server/engine/DataPath.h"

namespace vexa::server {

/// The server's commands. The numbers are the menu items' identifiers; the
/// two data path items double as the values of the "DataPath" setting.
enum class ServerCommand : int {
    Exit = 101,
    ShowConnections = 102,
    MeasurementInformation = 103,
    DecomControl = 104,           ///< no menu item: reached only by sending it
    About = 105,
    WebLink = 106,
    ClearScreen = 108,
    SelectDde = 109,
    SelectTcpIp = 110,
    ChangePort = 111,
    VerboseOn = 112,
    VerboseOff = 113,
    TimeOfDayOn = 114,
    TimeOfDayOff = 115,
    SaveNamesAsMeasurementFile = 116,
    Sources = 117,
    LiveValues = 118,
    DataSources = 119,
    Record = 120,
    Replay = 121,
    SimulateFaults = 122,
};

static_assert(static_cast<int>(ServerCommand::SelectDde) == kDataPathDde);
static_assert(static_cast<int>(ServerCommand::SelectTcpIp) == kDataPathTcpIp);

/// The identifier of \p command, as sent to ServerWindow::SendCommand().
constexpr int CommandId(ServerCommand command)
{
    return static_cast<int>(command);
}

}  // namespace vexa::server
