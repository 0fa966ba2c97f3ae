#include "FrameTestSupport.h"

#include "app/FrameCommand.h"
#include "app/FrameMenu.h"
#include "app/FrameStatusBar.h"
#include "banner/Banner.h"
#include "document/DocumentPaths.h"
#include "link/client/NameList.h"
#include "link/protocol/WireFormat.h"
#include "platform/PresenceMarker.h"
#include "platform/SettingsLocation.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

using app::CommandId;
using app::FrameCommand;
using app::FrameStatusBar;

constexpr int kNew = CommandId(FrameCommand::New);
constexpr int kOpen = CommandId(FrameCommand::Open);
constexpr int kSave = CommandId(FrameCommand::Save);
constexpr int kSaveAs = CommandId(FrameCommand::SaveAs);
constexpr int kClose = CommandId(FrameCommand::Close);
constexpr int kGraphEditor = CommandId(FrameCommand::GraphDefinitions);
constexpr int kViewEditor = CommandId(FrameCommand::ViewDefinitions);
constexpr int kMeasurementEditor = CommandId(FrameCommand::Measurements);
constexpr int kConfigure = CommandId(FrameCommand::ConfigureDataSource);

const char* const kCloseQuestion =
    "WARNING: The Vexa Display display file:\n\n%1\n\nis already open and has been modified.\n\nSave file first?";

/// The banner window that is up, or nullptr.
Banner* BannerUp()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* banner = qobject_cast<Banner*>(widget); banner != nullptr && banner->isVisible())
            return banner;
    }
    return nullptr;
}

class Frame : public ::testing::Test {
protected:
    void SetUp() override { WriteSettings(OfflineSettings()); }
    void TearDown() override { CloseBanner(); }

    ScriptedMessages m_messages;
    ScratchDir m_dir;
};

/// A message handler that also notes, at each box, how far the start-up got.
class StartUpObserver : public ScriptedMessages {
public:
    struct Moment {
        bool bannerUp = false;
        bool serverRunning = false;
        bool frameVisible = false;
        QString documentPart;
    };
    app::FrameWindow* frame = nullptr;
    std::vector<Moment> moments;

    MessageAnswer show(const MessageRequest& request) override
    {
        Moment now;
        now.bannerUp = IsBannerUp();
        now.serverRunning = PresenceMarker::IsHeld(link::kServerWindowTitle);
        if (frame != nullptr) {
            now.frameVisible = frame->isVisible();
            now.documentPart = StatusBarOf(*frame).partText(FrameStatusBar::kDocumentPart);
        }
        moments.push_back(now);
        return ScriptedMessages::show(request);
    }
};

TEST(StartUp, BannerAndServerComeBeforeTheWindowAndTheCommandLineFile)
{
    ScratchDir dir;
    WriteSettings("[VEXA Display]\r\nDataSource=249\r\n");
    ServerOnPath serverOnPath;
    StartUpObserver observer;
    // The frame is made first, so the observer can look at it; start() does
    // the rest.
    auto frame = std::make_unique<app::FrameWindow>(SettingsFilePath(), app::FrameWindow::LoadIcon());
    observer.frame = frame.get();
    frame->start(QStringLiteral("-F ") + QString::fromStdString(dir.path("missing.dsp")));

    // The file that cannot be opened reports its copy failure; by then the
    // banner is up, the server runs and the window shows with its menus
    // refreshed.
    const std::vector<MessageRequest> boxes = observer.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, QStringLiteral("ERROR: Could Not Copy File"));
    ASSERT_EQ(observer.moments.size(), 1u);
    EXPECT_TRUE(observer.moments[0].bannerUp);
    EXPECT_TRUE(observer.moments[0].serverRunning);
    EXPECT_TRUE(observer.moments[0].frameVisible);
    EXPECT_EQ(observer.moments[0].documentPart, QStringLiteral("Current File: None"));
    EXPECT_EQ(frame->probe().serverStart, link::ServerStart::Started);
    EXPECT_FALSE(frame->probe().document.isOpen());

    // The start-up banner: timed, with the version text and the frame's title.
    Banner* banner = BannerUp();
    ASSERT_NE(banner, nullptr);
    EXPECT_TRUE(banner->isTimed());
    EXPECT_TRUE(banner->firstText().startsWith(QStringLiteral("VEXA\nVersion 3.08 - March 2001\n")));

    // About while it is up does nothing (and does not block in a modal banner).
    frame->SendCommand(CommandId(FrameCommand::About));
    EXPECT_EQ(BannerUp(), banner);

    // Closing the program closes the banner first.
    frame->close();
    EXPECT_FALSE(IsBannerUp());
    StopRunningServer();
}

TEST_F(Frame, StartsWithNoServerWhenStartingIsSwitchedOffAndRemembersTheChoice)
{
    auto frame = StartFrame();
    EXPECT_EQ(frame->probe().serverStart, link::ServerStart::NotWanted);
    EXPECT_FALSE(IsItemChecked(*frame, CommandId(FrameCommand::StartServer)));
    EXPECT_TRUE(IsItemChecked(*frame, CommandId(FrameCommand::DontStartServer)));

    frame->SendCommand(CommandId(FrameCommand::StartServer));
    EXPECT_TRUE(IsItemChecked(*frame, CommandId(FrameCommand::StartServer)));
    EXPECT_FALSE(IsItemChecked(*frame, CommandId(FrameCommand::DontStartServer)));
    frame.reset();
    CloseBanner();

    // Offline needs no server, whatever the check mark says.
    auto again = StartFrame();
    EXPECT_TRUE(IsItemChecked(*again, CommandId(FrameCommand::StartServer)));
    EXPECT_EQ(again->probe().serverStart, link::ServerStart::NotWanted);
}

TEST_F(Frame, HasEveryMenuWithItsItemsSeparatorsAndFirstStates)
{
    auto frame = StartFrame();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("VEXA-Display"));
    const QList<QAction*> menus = frame->menuBar()->actions();
    QStringList titles;
    for (const QAction* menu : menus)
        titles << menu->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Options", "&Edit", "&Display", "&Window", "&Help"}));

    EXPECT_EQ(ItemTexts(*MenuOf(*frame, QStringLiteral("&File"))),
              QStringList({"&New...", "&Open...", "&Save", "Save &As...", "&Close", "", "&Export Page...",
                           "Export All Pa&ges...", "P&rinter Setup...", "Print Current &Page", "Print A&ll Pages",
                           "Printing Op&tions...", "", "E&xit"}));
    EXPECT_EQ(ItemTexts(*menus[1]->menu()),
              QStringList({"&Configure VEXA-Display Data Source", "", "&Start VEXA-Display Server On Activation",
                           "&Don't Start VEXA-Display Server On Activation", "", "Re-Connect To Data Server",
                           "Reconnect Automatically"}));
    EXPECT_EQ(ItemTexts(*menus[3]->menu()), QStringList({"&Graphs", "&Views"}));
    EXPECT_EQ(ItemTexts(*menus[5]->menu()),
              QStringList({"&Index", "&About VEXA Display", "", app::FrameMenu::kWebSiteText}));

    // Identifier, text, enabled with no document and no graph window.
    struct Item {
        int id;
        const char* text;
        bool enabled;
    };
    const Item items[] = {
        {101, "&New...", true},
        {102, "&Open...", true},
        {103, "&Save", false},
        {104, "Save &As...", false},
        {105, "&Close", false},
        {106, "P&rinter Setup...", false},
        {107, "Print Current &Page", false},
        {108, "Print A&ll Pages", false},
        {109, "Printing Op&tions...", false},
        {129, "&Export Page...", false},
        {130, "Export All Pa&ges...", false},
        {110, "E&xit", true},
        {111, "&Configure VEXA-Display Data Source", true},
        {114, "Re-Connect To Data Server", false},
        {115, "&Graph Definitions", false},
        {116, "&View Definitions", false},
        {117, "&Measurements", false},
        {118, "Graph &Attributes", false},
        {119, "&Copy Current Page To Clipboard", false},
        {120, "&Cascade", true},
        {121, "&Tile", true},
        {122, "&Arrange Icons", true},
        {123, "C&lose All", true},
        {124, "&Save Window Sizes", false},
        {125, "&ReInitialize Windows", false},
        {126, "&Index", true},
        {127, "&About VEXA Display", true},
        {140, "Reconnect Automatically", true},
    };
    for (const Item& item : items) {
        SCOPED_TRACE(item.id);
        const QAction* action = CommandItem(*frame, item.id);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), QString::fromLatin1(item.text));
        EXPECT_EQ(action->objectName(), QString::number(item.id));
        EXPECT_EQ(action->isEnabled(), item.enabled);
    }
    // Without a document the popups say there is nothing to open.
    EXPECT_EQ(ItemTexts(*MenuOf(*frame, QStringLiteral("&Graphs"))), QStringList({"(No Graphs Defined)"}));
    EXPECT_EQ(ItemTexts(*MenuOf(*frame, QStringLiteral("&Views"))), QStringList({"(No Views Defined)"}));
    EXPECT_EQ(StatusBarOf(*frame).objectName(), QStringLiteral("129"));
}

TEST_F(Frame, FileCommandsAndStatusFollowTheDocumentState)
{
    const std::string path = WritePlant(m_dir, "plant.dsp");
    auto frame = StartFrame();
    struct State {
        const char* name;
        bool newOpen, save, document, configure;
        QString status;
    };
    const auto check = [&](const State& state) {
        SCOPED_TRACE(state.name);
        EXPECT_EQ(IsItemEnabled(*frame, kNew), state.newOpen);
        EXPECT_EQ(IsItemEnabled(*frame, kOpen), state.newOpen);
        EXPECT_EQ(IsItemEnabled(*frame, kSave), state.save);
        for (int id : {kSaveAs, kClose, kGraphEditor, kViewEditor, kMeasurementEditor})
            EXPECT_EQ(IsItemEnabled(*frame, id), state.document) << id;
        EXPECT_EQ(IsItemEnabled(*frame, kConfigure), state.configure);
        EXPECT_EQ(StatusBarOf(*frame).partText(FrameStatusBar::kDocumentPart), state.status);
    };
    const QString current = QStringLiteral("Current File: ") + QString::fromStdString(path);
    check({"not open", true, false, false, true, QStringLiteral("Current File: None")});

    ASSERT_TRUE(OpenDisplayFile(*frame, path));
    check({"open, not modified", true, false, true, false, current});
    EXPECT_EQ(ItemTexts(*MenuOf(*frame, QStringLiteral("&Graphs"))),
              QStringList({"Pressures", "Temperatures", "Flow", "Spare"}));
    EXPECT_EQ(ItemTexts(*MenuOf(*frame, QStringLiteral("&Views"))), QStringList({"Main", "Heat"}));

    frame->markModified();
    check({"modified", false, true, true, false, current});

    frame->SendCommand(kSave);
    check({"saved", true, false, true, false, current});

    m_messages.script({MessageAnswer::No});
    frame->markModified();
    EXPECT_EQ(frame->SendCommand(kClose), 0);
    check({"closed", true, false, false, true, QStringLiteral("Current File: None")});
}

TEST_F(Frame, CloseAsksAboutAModifiedDocumentAndFollowsEachAnswer)
{
    const std::string path = WritePlant(m_dir, "plant.dsp");
    auto frame = StartFrame();
    const auto openModified = [&] {
        if (!frame->probe().document.isOpen()) {
            ASSERT_TRUE(OpenDisplayFile(*frame, path));
        }
        // A change in the working copy stands for an editor's work.
        WriteFileBytes(frame->probe().document.workingDisplayCopy(), PlantDisplayFile() + "[V3]\r\nT=Added\r\n");
        frame->markModified();
    };

    openModified();
    m_messages.script({MessageAnswer::Cancel});
    EXPECT_EQ(frame->SendCommand(kClose), app::kCommandCancelled);
    ASSERT_EQ(m_messages.boxes().size(), 1u);
    const MessageRequest question = m_messages.boxes()[0];
    EXPECT_EQ(question.text, QString::fromLatin1(kCloseQuestion).arg(QString::fromStdString(path)));
    EXPECT_EQ(question.caption, QStringLiteral("Close VEXA Display Display File"));
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(m_messages.beepCount(), 1);
    EXPECT_TRUE(frame->probe().document.isOpen());
    EXPECT_TRUE(frame->probe().document.isModified());

    m_messages.script({MessageAnswer::No});
    EXPECT_EQ(frame->SendCommand(kClose), 0);
    EXPECT_FALSE(frame->probe().document.isOpen());
    EXPECT_EQ(ReadFileBytes(path), PlantDisplayFile());
    EXPECT_FALSE(FileExists(WorkingDisplayCopyFor(path)));

    openModified();
    m_messages.script({MessageAnswer::Yes});
    EXPECT_EQ(frame->SendCommand(kClose), 0);
    EXPECT_FALSE(frame->probe().document.isOpen());
    EXPECT_NE(ReadFileBytes(path).find("T=Added"), std::string::npos);
    EXPECT_EQ(m_messages.unusedAnswers(), 0u);
}

TEST_F(Frame, AClosingFrameAsksFirstAndStaysWhenTheUserCancels)
{
    const std::string path = WritePlant(m_dir, "plant.dsp");
    auto frame = StartFrame();
    ASSERT_TRUE(OpenDisplayFile(*frame, path));
    frame->markModified();

    m_messages.script({MessageAnswer::Cancel});
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->probe().document.isOpen());
    EXPECT_TRUE(FileExists(WorkingDisplayCopyFor(path)));

    m_messages.script({MessageAnswer::No});
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(frame->isVisible());
    EXPECT_FALSE(FileExists(WorkingDisplayCopyFor(path)));
    EXPECT_FALSE(FileExists(WorkingMeasurementCopyFor(path)));
    // Closed with No: the document was closed by the Close command, so it is
    // among the recent files.
    EXPECT_EQ(StoredRecentFiles(), std::vector<std::string>({path}));
}

TEST_F(Frame, AnUnchangedDocumentClosesWithTheProgramWithoutAQuestion)
{
    const std::string path = WritePlant(m_dir, "plant.dsp");
    auto frame = StartFrame();
    ASSERT_TRUE(OpenDisplayFile(*frame, path));
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(m_messages.boxes().empty());
    EXPECT_FALSE(FileExists(WorkingDisplayCopyFor(path)));
    // Close never ran, so the file did not join the recent files.
    EXPECT_TRUE(StoredRecentFiles().empty());
}

TEST_F(Frame, CommandLineOpensTheFileAndTheViewItNames)
{
    // Mixed case in the file name: the path is taken as typed.
    const std::string path = WritePlant(m_dir, "Plant.dsp");
    const QString file = QString::fromStdString(path);
    struct Case {
        QString line;
        bool opens;
        int view;         ///< 0-based current view, -1 for none
        int names;        ///< names in the list after the start
    };
    const Case cases[] = {
        {QStringLiteral("-F ") + file, true, -1, 0},
        {QStringLiteral("-F ") + file + QStringLiteral(" -V Main"), true, 0, 3},
        {QStringLiteral("-f ") + file + QStringLiteral(" -v hEaT"), true, 1, 3},
        {QStringLiteral("-v Main -f ") + file, true, -1, 0},
        {QStringLiteral("-F ") + file + QStringLiteral(" -V Nowhere"), true, -1, 0},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.line.toStdString());
        auto frame = StartFrame(each.line);
        EXPECT_EQ(frame->probe().document.isOpen(), each.opens);
        EXPECT_EQ(frame->probe().document.path(), path);
        EXPECT_EQ(frame->probe().graphsAndViews.currentView(), each.view);
        EXPECT_EQ(frame->probe().link.layout().count(), each.names);
        frame.reset();
        CloseBanner();
    }
    EXPECT_TRUE(m_messages.boxes().empty());
}

TEST_F(Frame, CommandLineFileThatDoesNotOpenLeavesTheProgramWithoutADocument)
{
    // The upper-cased path names no file on a case-sensitive file system.
    const std::string path = WritePlant(m_dir, "plant.dsp");
    QString upper = QString::fromStdString(path);
    upper.replace(QStringLiteral("plant.dsp"), QStringLiteral("PLANT.DSP"));
    auto frame = StartFrame(QStringLiteral("-F ") + upper + QStringLiteral(" -V Main"));
    ASSERT_EQ(m_messages.boxes().size(), 1u);
    EXPECT_EQ(m_messages.boxes()[0].caption, QStringLiteral("ERROR: Could Not Copy File"));
    EXPECT_FALSE(frame->probe().document.isOpen());
    EXPECT_EQ(frame->probe().graphsAndViews.currentView(), -1);
    EXPECT_EQ(StatusBarOf(*frame).partText(FrameStatusBar::kDocumentPart), QStringLiteral("Current File: None"));
}

TEST_F(Frame, StatusBarPartsStartEqualAndFitTheirTextsOnceOneOverflows)
{
    auto frame = StartFrame();
    frame->resize(900, 600);
    FrameStatusBar& status = StatusBarOf(*frame);
    EXPECT_FALSE(status.isFittedToText());
    EXPECT_EQ(status.partWidth(0), status.partWidth(1));
    EXPECT_EQ(status.partWidth(1), status.partWidth(2));

    status.setPartText(FrameStatusBar::kConnectionPart, QStringLiteral("Connected to ethernet server '") +
                                                            QString(120, QLatin1Char('h')) + QStringLiteral(":4100'"));
    EXPECT_TRUE(status.isFittedToText());
    EXPECT_GT(status.partWidth(1), status.partWidth(0));
    EXPECT_LT(status.partWidth(0), frame->width() / 3);
}

}  // namespace
}  // namespace vexa::test
