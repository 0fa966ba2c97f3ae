#include "HelpTopics.h"

#include <algorithm>

// Q_INIT_RESOURCE declares a function of the global namespace, so it cannot
// be used inside ours.
static void RegisterHelpResources()
{
    Q_INIT_RESOURCE(help);
}

namespace vexa::app {

namespace {

/// Where the pages live among the program's resources.
constexpr const char* kHelpRoot = "qrc:/help/";
constexpr const char* kContentsPage = "index.html";
constexpr const char* kContentsTitle = "VEXA Display Help";

struct TopicPage {
    int topic;
    const char* file;
    const char* title;  ///< the <title> of the page
    bool popup;
};

constexpr std::array<TopicPage, kHelpTopics.size()> kTopicPages{{
    {kHelpGraphList, "graph-list.html", "The Graph List", false},
    {kHelpGraphDefinition, "graph-definition.html", "Defining a Graph", false},
    {kHelpViewDefinition, "view-definition.html", "Defining a View", false},
    {kHelpMeasurementSelection, "measurement-selection.html", "Selecting a Measurement", true},
    {kHelpMeasurementList, "measurement-list.html", "The Measurement List", false},
    {kHelpMeasurementDefinition, "measurement-definition.html", "Defining a Measurement", false},
    {kHelpViewList, "view-list.html", "The View List", false},
    {kHelpGraphOrViewSelection, "graph-or-view-selection.html", "Selecting a Graph or View", true},
}};

const TopicPage* FindTopic(int topic)
{
    const auto found = std::find_if(kTopicPages.begin(), kTopicPages.end(),
                                    [topic](const TopicPage& page) { return page.topic == topic; });
    return found != kTopicPages.end() ? &*found : nullptr;
}

QUrl PageUrl(const char* file)
{
    InitHelpResources();
    return QUrl(QString::fromLatin1(kHelpRoot) + QString::fromLatin1(file));
}

}  // namespace

void InitHelpResources()
{
    static const bool registered = [] {
        RegisterHelpResources();
        return true;
    }();
    (void)registered;
}

bool IsHelpTopic(int topic)
{
    return FindTopic(topic) != nullptr;
}

bool IsPopupTopic(int topic)
{
    const TopicPage* page = FindTopic(topic);
    return page != nullptr && page->popup;
}

QUrl HelpContentsUrl()
{
    return PageUrl(kContentsPage);
}

QUrl HelpTopicUrl(int topic)
{
    const TopicPage* page = FindTopic(topic);
    return page != nullptr ? PageUrl(page->file) : HelpContentsUrl();
}

QString HelpContentsTitle()
{
    return QString::fromLatin1(kContentsTitle);
}

QString HelpTopicTitle(int topic)
{
    const TopicPage* page = FindTopic(topic);
    return page != nullptr ? QString::fromLatin1(page->title) : HelpContentsTitle();
}

QString HelpResourcePath(const QUrl& url)
{
    InitHelpResources();
    return QLatin1Char(':') + url.path();
}

}  // namespace vexa::app
