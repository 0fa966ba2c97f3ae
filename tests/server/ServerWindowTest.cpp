#include "server/ServerWindow.h"

#include "banner/Banner.h"
#include "link/protocol/WireFormat.h"
#include "platform/PresenceMarker.h"
#include "server/DdeServer.h"
#include "server/LogList.h"
#include "server/TcpListener.h"
#include "server/dialogs/InputDialog.h"
#include "support/RawTcpClient.h"
#include "support/RawTcpListener.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace vexa::server {
namespace {

constexpr int kWaitMs = 5000;
constexpr int kPollMs = 10;
constexpr int kPollAttempts = 500;
const QString kTitle = QStringLiteral("VEXA-Display Data Server");
const QString kConnectionsFormat = QStringLiteral("%1 connection established.");

/// Runs \p drive on the modal dialog that is about to open, once it is up.
void DriveModal(std::function<void(QWidget*)> drive, int attemptsLeft = kPollAttempts)
{
    QTimer::singleShot(kPollMs, [drive = std::move(drive), attemptsLeft]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            drive(modal);
            return;
        }
        if (attemptsLeft == 0) {
            ADD_FAILURE() << "no modal dialog opened";
            return;
        }
        DriveModal(std::move(drive), attemptsLeft - 1);
    });
}

bool IsBusNameOwned()
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(QString(link::kBusName)).value();
}

class ServerWindowTest : public ::testing::Test {
protected:
    /// A started server whose settings file holds \p dataPath and \p port
    /// where given.
    std::unique_ptr<ServerWindow> StartServer(std::optional<int> dataPath = {}, std::optional<int> port = {},
                                              ServerWindow::ShowMode mode = ServerWindow::ShowMode::Normal)
    {
        std::string settings;
        if (dataPath.has_value())
            settings += "DataPath=" + std::to_string(*dataPath) + "\r\n";
        if (port.has_value())
            settings += "Port=" + std::to_string(*port) + "\r\n";
        if (!settings.empty())
            test::WriteFileBytes(m_file, "[VEXA-Com]\r\n" + settings);
        auto window = std::make_unique<ServerWindow>(m_file, ServerWindow::LoadIcon());
        window->start(mode);
        return window;
    }

    static QString LastEntry(const ServerWindow& window)
    {
        const QStringList entries = window.log().entries();
        return entries.isEmpty() ? QString() : entries.last();
    }

    static bool IsChecked(const ServerWindow& window, ServerCommand command)
    {
        return window.action(command)->isChecked();
    }

    test::ScriptedMessages m_messages;
    test::ScratchDir m_dir;
    std::string m_file = m_dir.path("VexaDisplay.ini");
};

/// Every menu item as "menu path|text", in menu order, with its action.
std::vector<std::pair<QString, QAction*>> MenuItems(const QMenu& menu, const QString& path)
{
    std::vector<std::pair<QString, QAction*>> items;
    for (QAction* action : menu.actions()) {
        if (action->menu() != nullptr) {
            const auto inner = MenuItems(*action->menu(), path + QLatin1Char('/') + action->text());
            items.insert(items.end(), inner.begin(), inner.end());
        } else if (!action->isSeparator()) {
            items.emplace_back(path + QLatin1Char('|') + action->text(), action);
        }
    }
    return items;
}

TEST_F(ServerWindowTest, TheMenuHoldsEveryCommandWithItsTextAndInitialCheck)
{
    struct Item {
        int id;
        const char* pathAndText;
        bool checkable;
        bool checked;
    };
    const Item expected[] = {
        {116, "&File|Save Names As Measurement File...", false, false},
        {120, "&File|Record", true, false},
        {121, "&File|Replay...", false, false},
        {101, "&File|E&xit", false, false},
        {108, "&View|&Clear Screen", false, false},
        {102, "&View|&Show Connections", false, false},
        {103, "&View|Measurement Information", false, false},
        {117, "&View|Sources", false, false},
        {118, "&View|Live Values", false, false},
        {109, "&Options/&Select Data Path|&DDE", true, false},
        {110, "&Options/&Select Data Path|&TCP/IP", true, false},
        {111, "&Options|Change TCP/IP Port Assignment", false, false},
        {112, "&Options/&Verbose|&On", true, false},
        {113, "&Options/&Verbose|O&ff", true, true},
        {114, "&Options/&Time Of Day|&Send Time Of Day With Each Data Packet", true, true},
        {115, "&Options/&Time Of Day|&Do Not Send Time Of Day With Each Data Packet", true, false},
        {119, "&Options|Data Sources...", false, false},
        {122, "&Options|Simulate Faults...", false, false},
        {105, "&Help|&About", false, false},
        {106, "&Help|Quillmere on the &Web", false, false},
    };
    // Before start-up: no data path is checked yet.
    const ServerWindow window(m_file, ServerWindow::LoadIcon());
    EXPECT_EQ(window.windowTitle(), kTitle);
    EXPECT_EQ(window.centralWidget(), &window.log());

    std::vector<std::pair<QString, QAction*>> items;
    for (QAction* top : window.menuBar()->actions()) {
        const auto inner = MenuItems(*top->menu(), top->text());
        items.insert(items.end(), inner.begin(), inner.end());
    }
    ASSERT_EQ(items.size(), std::size(expected));
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Item& item = expected[i];
        const QAction* action = items[i].second;
        EXPECT_EQ(items[i].first, QString::fromLatin1(item.pathAndText)) << item.id;
        EXPECT_EQ(action->data().toInt(), item.id);
        EXPECT_EQ(action->objectName(), QString::number(item.id));
        EXPECT_EQ(window.action(static_cast<ServerCommand>(item.id)), action);
        EXPECT_EQ(action->isCheckable(), item.checkable) << item.id;
        EXPECT_EQ(action->isChecked(), item.checked) << item.id;
    }
    EXPECT_EQ(window.action(ServerCommand::DecomControl), nullptr);
}

TEST_F(ServerWindowTest, AnUnknownDataPathStartsNoTransportAndChecksNothing)
{
    auto window = StartServer(5);
    EXPECT_FALSE(IsChecked(*window, ServerCommand::SelectDde));
    EXPECT_FALSE(IsChecked(*window, ServerCommand::SelectTcpIp));
    EXPECT_EQ(window->transport().ddeServer(), nullptr);
    EXPECT_EQ(window->transport().tcpListener(), nullptr);
    EXPECT_FALSE(IsBusNameOwned());
    EXPECT_EQ(window->action(ServerCommand::ChangePort)->text(), QStringLiteral("Change TCP/IP Port Assignment"));

    window->SendCommand(CommandId(ServerCommand::ShowConnections));
    EXPECT_EQ(window->log().entries(), QStringList{QStringLiteral(" connection established.")});
    EXPECT_TRUE(m_messages.calls().empty());
}

TEST_F(ServerWindowTest, OnDdeShowConnectionsTellsWhetherAClientIsConnected)
{
    auto window = StartServer();
    EXPECT_TRUE(IsChecked(*window, ServerCommand::SelectDde));
    EXPECT_FALSE(IsChecked(*window, ServerCommand::SelectTcpIp));
    ASSERT_NE(window->transport().ddeServer(), nullptr);
    EXPECT_TRUE(window->log().entries().contains(QStringLiteral("DDE Services initialized")));
    EXPECT_TRUE(IsBusNameOwned());

    window->SendCommand(CommandId(ServerCommand::ShowConnections));
    EXPECT_EQ(LastEntry(*window), kConnectionsFormat.arg(QStringLiteral("No DDE")));

    {
        // A client on a bus connection of its own, answered through the event loop.
        QDBusConnection client =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("shell-client"));
        ASSERT_TRUE(client.isConnected());
        QDBusMessage connect = QDBusMessage::createMethodCall(QString(link::kBusName), QString(link::kBusPath),
                                                              QString(link::kBusInterface), QStringLiteral("Connect"));
        connect << QStringLiteral("VEXA-Com") << QStringLiteral("VEXA-Display");
        QDBusPendingReply<uint> reply = client.asyncCall(connect);
        ASSERT_TRUE(QTest::qWaitFor([&] { return reply.isFinished(); }, kWaitMs));
        ASSERT_TRUE(reply.isValid()) << reply.error().message().toStdString();

        window->SendCommand(CommandId(ServerCommand::ShowConnections));
        EXPECT_EQ(LastEntry(*window), kConnectionsFormat.arg(QStringLiteral("DDE")));
    }
    // The client vanishes from the bus without a word.
    QDBusConnection::disconnectFromBus(QStringLiteral("shell-client"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->transport().ddeServer()->hasConversation(); }, kWaitMs));
    window->SendCommand(CommandId(ServerCommand::ShowConnections));
    EXPECT_EQ(LastEntry(*window), kConnectionsFormat.arg(QStringLiteral("No DDE")));
}

TEST_F(ServerWindowTest, OnTcpIpTheListenerServesThePortOfTheSettings)
{
    const int port = test::FreePort();
    auto window = StartServer(110, port);
    EXPECT_FALSE(IsChecked(*window, ServerCommand::SelectDde));
    EXPECT_TRUE(IsChecked(*window, ServerCommand::SelectTcpIp));
    EXPECT_EQ(window->action(ServerCommand::ChangePort)->text(),
              QStringLiteral("Change TCP/IP Port Assignment (Current value: '%1')").arg(port));
    ASSERT_NE(window->transport().tcpListener(), nullptr);
    EXPECT_TRUE(window->transport().tcpListener()->isListening());
    EXPECT_FALSE(IsBusNameOwned());

    window->SendCommand(CommandId(ServerCommand::ShowConnections));
    EXPECT_EQ(LastEntry(*window), kConnectionsFormat.arg(QStringLiteral("No Ethernet")));

    test::RawTcpClient client(port, test::RawTcpClient::Peer::ThisProcess);
    ASSERT_TRUE(client.isConnected());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->transport().tcpListener()->connectionCount() == 1; }, kWaitMs));
    window->SendCommand(CommandId(ServerCommand::ShowConnections));
    EXPECT_EQ(LastEntry(*window), kConnectionsFormat.arg(QStringLiteral("Ethernet")));

    client.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->transport().tcpListener()->connectionCount() == 0; }, kWaitMs));
    window->SendCommand(CommandId(ServerCommand::ShowConnections));
    EXPECT_EQ(LastEntry(*window), kConnectionsFormat.arg(QStringLiteral("No Ethernet")));
}

TEST_F(ServerWindowTest, ChoosingADataPathIsKeptForTheNextStartOnly)
{
    auto window = StartServer();
    window->SendCommand(CommandId(ServerCommand::SelectTcpIp));

    EXPECT_FALSE(IsChecked(*window, ServerCommand::SelectDde));
    EXPECT_TRUE(IsChecked(*window, ServerCommand::SelectTcpIp));
    EXPECT_EQ(test::ReadFileBytes(m_file), "[VEXA-Com]\r\nDataPath=110\r\n");
    const auto boxes = m_messages.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("These changes will not take affect until this application is restarted"));
    EXPECT_EQ(boxes[0].caption, QStringLiteral("VEXA-Com"));
    EXPECT_EQ(boxes[0].icon, MessageIcon::Information);
    EXPECT_EQ(boxes[0].buttons, MessageButtons::Ok);

    // DDE goes on serving until the restart.
    EXPECT_EQ(window->dataPath(), 109);
    EXPECT_TRUE(IsBusNameOwned());
    window->SendCommand(CommandId(ServerCommand::ShowConnections));
    EXPECT_EQ(LastEntry(*window), kConnectionsFormat.arg(QStringLiteral("No DDE")));

    // Through the menu, as the user chooses it.
    window->action(ServerCommand::SelectDde)->trigger();
    EXPECT_TRUE(IsChecked(*window, ServerCommand::SelectDde));
    EXPECT_FALSE(IsChecked(*window, ServerCommand::SelectTcpIp));
    EXPECT_EQ(test::ReadFileBytes(m_file), "[VEXA-Com]\r\nDataPath=109\r\n");
    EXPECT_EQ(m_messages.boxes().size(), 2u);
}

TEST_F(ServerWindowTest, ADataPathThatCannotBeWrittenIsLoggedAndNotClaimed)
{
    m_file = m_dir.path("absent/VexaDisplay.ini");
    auto window = StartServer(std::nullopt, std::nullopt);
    window->action(ServerCommand::SelectTcpIp)->trigger();

    EXPECT_TRUE(m_messages.boxes().empty());
    EXPECT_TRUE(IsChecked(*window, ServerCommand::SelectDde));
    EXPECT_FALSE(IsChecked(*window, ServerCommand::SelectTcpIp));
    EXPECT_TRUE(LastEntry(*window).startsWith(QStringLiteral("ERROR: Could not write \"DataPath\" to ")))
        << LastEntry(*window).toStdString();
}

TEST_F(ServerWindowTest, VerboseAndTimeOfDayActAtOnceAndAreLogged)
{
    struct Case {
        ServerCommand command;
        const char* logLine;
        ServerCommand nowChecked;
        ServerCommand nowUnchecked;
    };
    const Case cases[] = {
        {ServerCommand::VerboseOn, "Verbose mode ON", ServerCommand::VerboseOn, ServerCommand::VerboseOff},
        {ServerCommand::VerboseOn, "Verbose mode ON", ServerCommand::VerboseOn, ServerCommand::VerboseOff},
        {ServerCommand::VerboseOff, "Verbose mode Off", ServerCommand::VerboseOff, ServerCommand::VerboseOn},
        {ServerCommand::TimeOfDayOff, "Time of day disabled", ServerCommand::TimeOfDayOff,
         ServerCommand::TimeOfDayOn},
        {ServerCommand::TimeOfDayOn, "Time of day being sent with each data packet", ServerCommand::TimeOfDayOn,
         ServerCommand::TimeOfDayOff},
        {ServerCommand::TimeOfDayOn, "Time of day being sent with each data packet", ServerCommand::TimeOfDayOn,
         ServerCommand::TimeOfDayOff},
    };
    auto window = StartServer(5);
    for (const Case& testCase : cases) {
        const int id = CommandId(testCase.command);
        // A click on a checked item leaves it checked, as a command sent by number does.
        window->action(testCase.command)->trigger();
        EXPECT_EQ(LastEntry(*window), QString::fromLatin1(testCase.logLine)) << id;
        EXPECT_TRUE(IsChecked(*window, testCase.nowChecked)) << id;
        EXPECT_FALSE(IsChecked(*window, testCase.nowUnchecked)) << id;
        EXPECT_EQ(window->engine().isVerbose(), IsChecked(*window, ServerCommand::VerboseOn)) << id;
        EXPECT_EQ(window->engine().isTimeOfDayOn(), IsChecked(*window, ServerCommand::TimeOfDayOn)) << id;
    }
    EXPECT_EQ(window->engine().sample().timeOfDay(), -1.0);
    // Neither is kept in the settings file.
    EXPECT_EQ(test::ReadFileBytes(m_file), "[VEXA-Com]\r\nDataPath=5\r\n");
}

/// Types \p text into the port dialog's entry and presses \p button.
void Answer(QWidget* dialog, const QString& text, const char* button)
{
    auto* entry = dialog->findChild<QLineEdit*>(QString::fromLatin1(InputDialog::kEntryName));
    ASSERT_NE(entry, nullptr);
    entry->clear();
    QTest::keyClicks(entry, text);
    auto* press = dialog->findChild<QPushButton*>(QString::fromLatin1(button));
    ASSERT_NE(press, nullptr);
    press->click();
}

TEST_F(ServerWindowTest, APortAcceptedByTheDialogIsStoredShownAndLogged)
{
    struct Case {
        const char* typed;
        int stored;
    };
    const Case cases[] = {{" 10 00 ", 1000}, {"0", 0}, {"+4100", 4100}};
    for (const Case& testCase : cases) {
        auto window = StartServer(109);
        m_messages.clear();
        QString caption;
        QString initial;
        DriveModal([&](QWidget* dialog) {
            caption = dialog->windowTitle();
            initial = dialog->findChild<QLineEdit*>(QString::fromLatin1(InputDialog::kEntryName))->text();
            Answer(dialog, QString::fromLatin1(testCase.typed), InputDialog::kOkButtonName);
        });
        window->SendCommand(CommandId(ServerCommand::ChangePort));

        EXPECT_EQ(caption, QStringLiteral("Enter New Port Assignment"));
        EXPECT_EQ(initial, QStringLiteral("1000"));
        EXPECT_EQ(test::ReadFileBytes(m_file),
                  "[VEXA-Com]\r\nDataPath=109\r\nPort=" + std::to_string(testCase.stored) + "\r\n")
            << testCase.typed;
        const auto boxes = m_messages.boxes();
        ASSERT_EQ(boxes.size(), 1u) << testCase.typed;
        EXPECT_EQ(boxes[0].text, QStringLiteral("These changes will not take affect until this program is restarted."
                                                "\n\nNOTE: This value much match the value set in the "
                                                "VEXA-Display application."));
        EXPECT_EQ(boxes[0].caption, QStringLiteral("Change Port Assignment"));
        EXPECT_EQ(boxes[0].icon, MessageIcon::Information);
        EXPECT_EQ(window->action(ServerCommand::ChangePort)->text(),
                  QStringLiteral("Change TCP/IP Port Assignment (Current value: '%1')").arg(testCase.stored));
        EXPECT_EQ(LastEntry(*window), QStringLiteral("Port assignment Changed to: %1").arg(testCase.stored));
    }
}

TEST_F(ServerWindowTest, ARefusedPortKeepsTheDialogOpenAndCancelChangesNothing)
{
    auto window = StartServer(109, 2500);
    const std::string before = test::ReadFileBytes(m_file);
    const QStringList logBefore = window->log().entries();
    bool stayedOpen = false;
    QString initial;
    DriveModal([&](QWidget* dialog) {
        initial = dialog->findChild<QLineEdit*>(QString::fromLatin1(InputDialog::kEntryName))->text();
        Answer(dialog, QStringLiteral("12a"), InputDialog::kOkButtonName);
        stayedOpen = dialog->isVisible();
        Answer(dialog, QStringLiteral("3000"), InputDialog::kCancelButtonName);
    });
    window->SendCommand(CommandId(ServerCommand::ChangePort));

    EXPECT_EQ(initial, QStringLiteral("2500"));
    EXPECT_TRUE(stayedOpen);
    const auto boxes = m_messages.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Value entered is not a valid integer. Please re-enter."));
    EXPECT_EQ(boxes[0].caption, QStringLiteral("ERROR: Illegal Value Entered"));
    EXPECT_EQ(test::ReadFileBytes(m_file), before);
    EXPECT_EQ(window->log().entries(), logBefore);
    EXPECT_EQ(window->action(ServerCommand::ChangePort)->text(), QStringLiteral("Change TCP/IP Port Assignment"));
}

TEST_F(ServerWindowTest, TheListingsAndClearScreenWorkOnTheLog)
{
    auto window = StartServer(5);
    window->SendCommand(CommandId(ServerCommand::MeasurementInformation));
    EXPECT_EQ(LastEntry(*window), QStringLiteral("Measurement Data File Setup has not been set up"));
    window->SendCommand(CommandId(ServerCommand::DecomControl));
    EXPECT_EQ(LastEntry(*window), QStringLiteral("Decom Control has not been set up"));

    DecomControl& decom = window->engine().decomControl();
    decom.wordsPerFrame = 1;
    decom.wordSize = 16;
    decom.bitOrder = 1;
    decom.addresses[0] = 0x2a;
    decom.setName(0, "SYNC");
    window->SendCommand(CommandId(ServerCommand::DecomControl));
    const QStringList entries = window->log().entries();
    EXPECT_EQ(entries.mid(entries.size() - 4),
              (QStringList{"WordsPerFrame = 1", "WordSize = 16", "BitOrder = MSB", "001\t2a\tSYNC"}));

    window->SendCommand(CommandId(ServerCommand::ClearScreen));
    EXPECT_TRUE(window->log().entries().isEmpty());
}

TEST_F(ServerWindowTest, AboutShowsTheServersBannerModally)
{
    auto window = StartServer(5);
    QString firstText;
    QString title;
    bool hasIcon = false;
    DriveModal([&](QWidget* modal) {
        if (auto* banner = qobject_cast<Banner*>(modal)) {
            firstText = banner->firstText();
            hasIcon = !banner->bannerLayout().icon.isEmpty();
        }
        CloseBanner();
    });
    window->SendCommand(CommandId(ServerCommand::About));
    EXPECT_EQ(firstText, QStringLiteral("Communications Application\n\nVersion 1.0\n") + BannerContactLines());
    EXPECT_TRUE(hasIcon);
    EXPECT_FALSE(IsBannerUp());
}

TEST_F(ServerWindowTest, TheWebLinkOpensTheMakersPage)
{
    auto window = StartServer(5);
    std::vector<QUrl> opened;
    window->setUrlOpener([&](const QUrl& url) { opened.push_back(url); });
    window->action(ServerCommand::WebLink)->trigger();
    EXPECT_EQ(opened, std::vector<QUrl>{QUrl(QStringLiteral("https://www.quillmere.example/"))});
}

TEST_F(ServerWindowTest, ThePresenceMarkerIsHeldWhileTheServerLives)
{
    auto window = std::make_unique<ServerWindow>(m_file, ServerWindow::LoadIcon());
    EXPECT_FALSE(PresenceMarker::IsHeld(kTitle));
    window->start(ServerWindow::ShowMode::Minimized);
    EXPECT_TRUE(window->windowState().testFlag(Qt::WindowMinimized));
    EXPECT_TRUE(PresenceMarker::IsHeld(kTitle));
    window.reset();
    EXPECT_FALSE(PresenceMarker::IsHeld(kTitle));
}

TEST_F(ServerWindowTest, ExitShutsTheTransportDownAsTheWindowGoes)
{
    auto window = StartServer();
    ASSERT_TRUE(IsBusNameOwned());
    window->action(ServerCommand::Exit)->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(IsBusNameOwned());
    window->FinishShutdown();
    EXPECT_FALSE(window->engine().areTimersActive());
}

TEST(ServerWindow, OpensInTheLowerPartOfTheScreenWithItsIcon)
{
    EXPECT_EQ(ServerWindow::StartGeometry(QRect(0, 0, 1280, 1024)), QRect(190, 512, 1080, 492));
    EXPECT_EQ(ServerWindow::StartGeometry(QRect(0, 0, 800, 600)), QRect(190, 300, 600, 280));
    const QIcon icon = ServerWindow::LoadIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes(), QList<QSize>{QSize(32, 32)});
}

}  // namespace
}  // namespace vexa::server
