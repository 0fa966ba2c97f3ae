#pragma once

/// The display program's commands. The numbers are the identifiers of the
/// menu items, so that any command can be sent to the frame by its number.
namespace vexa::app {

enum class FrameCommand : int {
    New = 101,
    Open = 102,
    Save = 103,
    SaveAs = 104,
    Close = 105,
    PrinterSetup = 106,
    PrintCurrentPage = 107,
    PrintAllPages = 108,
    PrintingOptions = 109,
    Exit = 110,
    ConfigureDataSource = 111,
    StartServer = 112,
    DontStartServer = 113,
    Reconnect = 114,
    GraphDefinitions = 115,
    ViewDefinitions = 116,
    Measurements = 117,
    GraphAttributes = 118,
    CopyPage = 119,
    Cascade = 120,
    Tile = 121,
    ArrangeIcons = 122,
    CloseAll = 123,
    SaveWindowSizes = 124,
    ReInitializeWindows = 125,
    HelpIndex = 126,
    About = 127,
    WebSite = 128,
    ExportPage = 129,
    ExportAllPages = 130,
    /// Beyond the original menu: its identifier keeps clear of the others.
    ReconnectAutomatically = 140,
};

/// Graph n (1-based) has the command kFirstGraphCommand - 1 + n; the popup's
/// "More..." item has kMoreGraphsCommand.
inline constexpr int kFirstGraphCommand = 200;
inline constexpr int kLastGraphCommand = 259;
inline constexpr int kMoreGraphsCommand = 261;
/// View n (1-based) has the command kFirstViewCommand - 1 + n.
inline constexpr int kFirstViewCommand = 262;
inline constexpr int kLastViewCommand = 322;
inline constexpr int kMoreViewsCommand = 323;
/// The most views the menus and the selection offer: one per view command.
inline constexpr int kMaxMenuViews = kLastViewCommand - kFirstViewCommand + 1;
/// Recent-file items get identifiers from here up.
inline constexpr int kFirstRecentCommand = 1025;

/// What the Close command gives when the user cancelled.
inline constexpr int kCommandCancelled = 2;

constexpr int CommandId(FrameCommand command)
{
    return static_cast<int>(command);
}

}  // namespace vexa::app
