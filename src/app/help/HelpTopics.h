#pragma once

#include <QString>
#include <QUrl>

#include <array>

/// The help topics of the display program: the numbers by which its dialogs
/// ask for help, and the pages that answer them.
namespace vexa::app {

inline constexpr int kHelpGraphList = 17;
inline constexpr int kHelpGraphDefinition = 18;
inline constexpr int kHelpViewDefinition = 19;
/// Shown as a pop-up over the measurement selection.
inline constexpr int kHelpMeasurementSelection = 20;
inline constexpr int kHelpMeasurementList = 21;
inline constexpr int kHelpMeasurementDefinition = 22;
inline constexpr int kHelpViewList = 25;
/// Shown as a pop-up over the graph or view selection ("More...").
inline constexpr int kHelpGraphOrViewSelection = 35;

/// Every topic that has a page of its own, in number order.
inline constexpr std::array kHelpTopics{
    kHelpGraphList,       kHelpGraphDefinition,       kHelpViewDefinition, kHelpMeasurementSelection,
    kHelpMeasurementList, kHelpMeasurementDefinition, kHelpViewList,       kHelpGraphOrViewSelection,
};

/// True for a topic number that has a page of its own.
bool IsHelpTopic(int topic);

/// True for the topics that are meant to be shown as a pop-up.
bool IsPopupTopic(int topic);

/// The contents page: what the program is, its menus and the list of topics.
QUrl HelpContentsUrl();

/// The page of \p topic; the contents page for a number that has none.
QUrl HelpTopicUrl(int topic);

/// The resource path (":/…") of a help URL, for reading a page directly.
QString HelpResourcePath(const QUrl& url);

/// Registers the help pages with the resource system. The pages live in a
/// static library, whose resources the linker would otherwise leave out. The
/// functions that give a URL or a resource path call this themselves; call it
/// only to read the resources before asking for either.
void InitHelpResources();

}  // namespace vexa::app
