#include "app/help/HelpPage.h"
#include "app/help/HelpPopup.h"
#include "app/help/HelpTopics.h"
#include "app/help/HelpWindow.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDirIterator>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextBrowser>

#include <memory>
#include <ostream>

/// Lets test failures show addresses as text.
static void PrintTo(const QUrl& url, std::ostream* os)
{
    *os << url.toString().toStdString();
}

namespace vexa::app {
namespace {

constexpr const char* kMakerSite = "https://www.quillmere.example/";

/// Catches the web addresses that the help hands to the desktop, so that no
/// browser is started while the tests run.
class DesktopBrowser : public QObject {
    Q_OBJECT

public:
    DesktopBrowser() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open"); }
    ~DesktopBrowser() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }

    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.push_back(url); }
};

void FlushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString ReadResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

/// The values of every href and src attribute of \p html.
QStringList Links(const QString& html)
{
    static const QRegularExpression link(QStringLiteral(R"re((?:href|src)\s*=\s*"([^"]*)")re"),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList links;
    for (const QRegularExpressionMatch& match : link.globalMatch(html))
        links.push_back(match.captured(1));
    return links;
}

bool HasAnchor(const QString& html, const QString& name)
{
    return html.contains(QStringLiteral("id=\"%1\"").arg(name))
           || html.contains(QStringLiteral("name=\"%1\"").arg(name));
}

QStringList HelpPages()
{
    InitHelpResources();
    QStringList pages;
    QDirIterator files(QStringLiteral(":/help"), {QStringLiteral("*.html")}, QDir::Files);
    while (files.hasNext())
        pages.push_back(files.next());
    return pages;
}

class HelpTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        QuitHelp();
        FlushDeletes();
    }

    /// A window to own pop-ups, well inside the screen.
    std::unique_ptr<QWidget> shownOwner()
    {
        auto owner = std::make_unique<QWidget>();
        owner->setGeometry(kOwnerPlace);
        owner->show();
        return owner;
    }

    static constexpr QRect kOwnerPlace{100, 100, 500, 360};
};

struct TopicCase {
    int topic;
    const char* page;
    const char* title;
};

constexpr TopicCase kTopicCases[] = {
    {17, "graph-list.html", "The Graph List"},
    {18, "graph-definition.html", "Defining a Graph"},
    {19, "view-definition.html", "Defining a View"},
    {20, "measurement-selection.html", "Selecting a Measurement"},
    {21, "measurement-list.html", "The Measurement List"},
    {22, "measurement-definition.html", "Defining a Measurement"},
    {25, "view-list.html", "The View List"},
    {35, "graph-or-view-selection.html", "Selecting a Graph or View"},
};

TEST_F(HelpTest, EveryTopicNumberOpensItsOwnPage)
{
    ASSERT_EQ(std::size(kTopicCases), kHelpTopics.size());
    for (const TopicCase& expected : kTopicCases) {
        SCOPED_TRACE(expected.topic);
        EXPECT_TRUE(IsHelpTopic(expected.topic));
        ShowHelpTopic(nullptr, expected.topic);
        HelpWindow* window = CurrentHelpWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->windowTitle(), QStringLiteral("VEXA Display Help"));
        EXPECT_EQ(window->page().fileName(), QString::fromLatin1(expected.page));
        EXPECT_EQ(window->browser()->documentTitle(), QString::fromLatin1(expected.title));
        EXPECT_EQ(HelpPageTitle(HelpTopicUrl(expected.topic)), QString::fromLatin1(expected.title));
        EXPECT_TRUE(window->browser()->toPlainText().contains(QString::fromLatin1(expected.title)));
    }
}

TEST_F(HelpTest, OnlyTheTwoSelectionTopicsArePopups)
{
    for (const TopicCase& topic : kTopicCases)
        EXPECT_EQ(IsPopupTopic(topic.topic), topic.topic == 20 || topic.topic == 35) << topic.topic;
}

TEST_F(HelpTest, UnknownTopicsAndTheIndexShowTheContents)
{
    for (const int topic : {0, -1, 16, 23, 26, 34, 36, 999}) {
        SCOPED_TRACE(topic);
        EXPECT_FALSE(IsHelpTopic(topic));
        EXPECT_EQ(HelpTopicUrl(topic), HelpContentsUrl());
        ShowHelpTopic(nullptr, 17);
        ShowHelpTopic(nullptr, topic);
        ASSERT_NE(CurrentHelpWindow(), nullptr);
        EXPECT_EQ(CurrentHelpWindow()->page(), HelpContentsUrl());
        EXPECT_EQ(CurrentHelpWindow()->browser()->documentTitle(), QStringLiteral("VEXA Display Help"));
    }
    ShowHelpTopic(nullptr, 22);
    ShowHelpContents(nullptr);
    EXPECT_EQ(CurrentHelpWindow()->page(), HelpContentsUrl());
}

TEST_F(HelpTest, PagesLinkOnlyToPagesAndAnchorsThatExist)
{
    const QStringList pages = HelpPages();
    ASSERT_GE(pages.size(), qsizetype(std::size(kTopicCases) + 1));
    for (const QString& path : pages) {
        SCOPED_TRACE(path.toStdString());
        const QUrl page(QStringLiteral("qrc") + path);
        // A page keeps its body alone; the frame that is written once holds
        // the rest, and its links are checked with every page.
        EXPECT_FALSE(ReadResource(path).contains(QStringLiteral("<head"), Qt::CaseInsensitive));
        const QString html = QString::fromUtf8(FramedHelpPage(page));
        EXPECT_FALSE(html.contains(QStringLiteral("<script"), Qt::CaseInsensitive));
        for (const QString& text : Links(html)) {
            SCOPED_TRACE(text.toStdString());
            const QUrl link(text);
            if (!link.scheme().isEmpty() && link.scheme() != QStringLiteral("qrc")) {
                EXPECT_TRUE(text.startsWith(QString::fromLatin1(kMakerSite)));
                continue;
            }
            const QUrl target = page.resolved(link);
            EXPECT_TRUE(QFile::exists(HelpResourcePath(target)));
            const QString targetHtml = ReadResource(HelpResourcePath(target));
            if (!target.fragment().isEmpty()) {
                EXPECT_TRUE(HasAnchor(targetHtml, target.fragment()));
            }
        }
    }
}

TEST_F(HelpTest, TheContentsLinkToEveryTopic)
{
    const QString contents = ReadResource(HelpResourcePath(HelpContentsUrl()));
    QSet<QString> linked;
    for (const QString& link : Links(contents))
        linked.insert(QUrl(link).path());
    for (const TopicCase& topic : kTopicCases)
        EXPECT_TRUE(linked.contains(QString::fromLatin1(topic.page))) << topic.page;
}

TEST_F(HelpTest, OneWindowServesEveryRequestAndKeepsItsHistory)
{
    ShowHelpTopic(nullptr, 17);
    HelpWindow* window = CurrentHelpWindow();
    ShowHelpTopic(nullptr, 18);
    ShowHelpContents(nullptr);
    EXPECT_EQ(CurrentHelpWindow(), window);
    int windows = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        windows += qobject_cast<HelpWindow*>(widget) != nullptr ? 1 : 0;
    EXPECT_EQ(windows, 1);

    auto* back = window->findChild<QPushButton*>(QString::fromLatin1(HelpWindow::kBackName));
    auto* forward = window->findChild<QPushButton*>(QString::fromLatin1(HelpWindow::kForwardName));
    auto* contents = window->findChild<QPushButton*>(QString::fromLatin1(HelpWindow::kContentsName));
    ASSERT_TRUE(back && forward && contents);
    EXPECT_FALSE(forward->isEnabled());
    back->click();
    EXPECT_EQ(window->page(), HelpTopicUrl(18));
    back->click();
    EXPECT_EQ(window->page(), HelpTopicUrl(17));
    EXPECT_FALSE(back->isEnabled());
    forward->click();
    EXPECT_EQ(window->page(), HelpTopicUrl(18));
    contents->click();
    EXPECT_EQ(window->page(), HelpContentsUrl());
}

TEST_F(HelpTest, ARequestBringsBackAMinimisedWindowAndReplacesAClosedOne)
{
    ShowHelpTopic(nullptr, 21);
    QPointer<HelpWindow> first = CurrentHelpWindow();
    first->showMinimized();
    ShowHelpTopic(nullptr, 22);
    EXPECT_FALSE(first->isMinimized());
    EXPECT_TRUE(first->isVisible());

    first->close();
    EXPECT_EQ(CurrentHelpWindow(), nullptr);
    ShowHelpTopic(nullptr, 25);
    FlushDeletes();
    EXPECT_TRUE(first.isNull());
    ASSERT_NE(CurrentHelpWindow(), nullptr);
    EXPECT_TRUE(CurrentHelpWindow()->isVisible());
    EXPECT_EQ(CurrentHelpWindow()->page(), HelpTopicUrl(25));
}

TEST_F(HelpTest, InternalLinksOpenInTheWindowAndWebLinksInTheDesktop)
{
    DesktopBrowser desktop;
    ShowHelpTopic(nullptr, 18);
    HelpWindow* window = CurrentHelpWindow();
    emit window->browser()->anchorClicked(QUrl(QStringLiteral("index.html#alarms")));
    EXPECT_EQ(window->page(), QUrl(QStringLiteral("qrc:/help/index.html#alarms")));

    emit window->browser()->anchorClicked(QUrl(QString::fromLatin1(kMakerSite)));
    EXPECT_EQ(desktop.opened, QList<QUrl>{QUrl(QString::fromLatin1(kMakerSite))});
    EXPECT_EQ(window->page(), QUrl(QStringLiteral("qrc:/help/index.html#alarms")));
}

TEST_F(HelpTest, TheSelectionTopicsPopUpOverTheirOwner)
{
    const auto owner = shownOwner();
    QPointer<HelpPopup> previous;
    for (const int topic : {20, 35}) {
        SCOPED_TRACE(topic);
        ShowHelpPopup(owner.get(), topic);
        HelpPopup* popup = CurrentHelpPopup();
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup->windowType(), Qt::Popup);
        EXPECT_EQ(popup->browser()->documentTitle(), HelpPageTitle(HelpTopicUrl(topic)));
        EXPECT_TRUE(owner->frameGeometry().contains(popup->geometry().center()));
        EXPECT_LE(popup->height(), HelpPopup::kMaxHeight);
        // The page fits the pop-up without scrolling.
        EXPECT_FALSE(popup->browser()->verticalScrollBar()->isVisible());
        if (!previous.isNull()) {
            EXPECT_FALSE(previous->isVisible());
        }
        previous = popup;
    }
    EXPECT_EQ(CurrentHelpWindow(), nullptr);
}

TEST_F(HelpTest, APopupClosesOnEscapeAndOnAClick)
{
    const auto owner = shownOwner();
    ShowHelpPopup(owner.get(), 20);
    ASSERT_NE(CurrentHelpPopup(), nullptr);
    QTest::keyClick(CurrentHelpPopup()->browser(), Qt::Key_Escape);
    EXPECT_EQ(CurrentHelpPopup(), nullptr);

    ShowHelpPopup(owner.get(), 35);
    ASSERT_NE(CurrentHelpPopup(), nullptr);
    QTest::mouseClick(CurrentHelpPopup()->browser()->viewport(), Qt::LeftButton);
    EXPECT_EQ(CurrentHelpPopup(), nullptr);
}

TEST_F(HelpTest, QuitHelpClosesTheWindowAndThePopup)
{
    const auto owner = shownOwner();
    ShowHelpTopic(owner.get(), 19);
    ShowHelpPopup(owner.get(), 35);
    QPointer<HelpWindow> window = CurrentHelpWindow();
    QPointer<HelpPopup> popup = CurrentHelpPopup();
    ASSERT_TRUE(window && popup);

    QuitHelp();
    EXPECT_EQ(CurrentHelpWindow(), nullptr);
    EXPECT_EQ(CurrentHelpPopup(), nullptr);
    FlushDeletes();
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(popup.isNull());
    QuitHelp();
}

/// Clicks \p button of \p window through the window system, where a modal
/// dialog keeps clicks from the windows it blocks.
void ClickThroughWindowSystem(HelpWindow& window, const char* button)
{
    auto* target = window.findChild<QPushButton*>(QString::fromLatin1(button));
    ASSERT_NE(target, nullptr);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, target->mapTo(&window, target->rect().center()));
}

TEST_F(HelpTest, HelpFromStackedModalDialogsTakesClicksAndOutlivesThem)
{
    // The graph list is modal, and the graph editor is opened over it.
    auto list = std::make_unique<QDialog>();
    list->setWindowModality(Qt::ApplicationModal);
    list->show();
    auto editor = std::make_unique<QDialog>(list.get());
    editor->setWindowModality(Qt::ApplicationModal);
    editor->show();

    ShowHelpTopic(editor.get(), 18);
    QPointer<HelpWindow> window = CurrentHelpWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.data()));
    ClickThroughWindowSystem(*window, HelpWindow::kContentsName);
    EXPECT_EQ(window->page(), HelpContentsUrl());

    // A dialog hides as it goes; the help window must not go with it, and
    // must still take clicks under the dialog that is left.
    editor.reset();
    ASSERT_FALSE(window.isNull());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.data()));
    ClickThroughWindowSystem(*window, HelpWindow::kBackName);
    EXPECT_EQ(window->page(), HelpTopicUrl(18));

    list.reset();
    ASSERT_FALSE(window.isNull());
    EXPECT_EQ(CurrentHelpWindow(), window.data());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->page(), HelpTopicUrl(18));
}

}  // namespace
}  // namespace vexa::app

#include "HelpTest.moc"
