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

struct TopicPage {
    int topic;
    const char* file;
    bool popup;
};

constexpr std::array<TopicPage, kHelpTopics.size()> kTopicPages{{
    {kHelpGraphList, "graph-list.html", false},
    {kHelpGraphDefinition, "graph-definition.html", false},
    {kHelpViewDefinition, "view-definition.html", false},
    {kHelpMeasurementSelection, "measurement-selection.html", true},
    {kHelpMeasurementList, "measurement-list.html", false},
    {kHelpMeasurementDefinition, "measurement-definition.html", false},
    {kHelpViewList, "view-list.html", false},
    {kHelpGraphOrViewSelection, "graph-or-view-selection.html", true},
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

QString HelpResourcePath(const QUrl& url)
{
    InitHelpResources();
    return QLatin1Char(':') + url.path();
}

}  // namespace vexa::app
