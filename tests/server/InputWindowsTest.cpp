// The windows, dialog and commands of the live inputs, on a real server
// window whose inputs listen on the loopback interface of this process.

#include "server/DataSourcesDialog.h"
#include "server/LiveValuesModel.h"
#include "server/LiveValuesWindow.h"
#include "server/LogList.h"
#include "server/ServerWindow.h"
#include "server/SourcesWindow.h"
#include "server/inputs/InputSet.h"

#include "TransportTestSupport.h"
#include "support/RawUdp.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDateTime>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>

namespace vexa::server::test {
namespace {

constexpr int kWaitMs = 5000;
const QString kSaveTitle = QStringLiteral("Save Names As Measurement File");

using vexa::test::SendLoopbackDatagram;

class InputWindowsTest : public ::testing::Test {
protected:
    /// A started server without a transport whose settings file holds
    /// \p inputKeys in its section.
    std::unique_ptr<ServerWindow> StartServer(const std::string& inputKeys, InputOverrides overrides = {})
    {
        vexa::test::WriteFileBytes(m_file, "[VEXA-Com]\r\nDataPath=5\r\n" + inputKeys);
        auto window = std::make_unique<ServerWindow>(m_file, ServerWindow::LoadIcon());
        window->setInputOverrides(std::move(overrides));
        window->start(ServerWindow::ShowMode::Normal);
        return window;
    }

    /// Sends \p datagram and waits until the input has counted \p messages in all.
    static bool Feed(const ServerWindow& window, int input, int port, const QByteArray& datagram,
                     std::uint64_t messages)
    {
        return SendLoopbackDatagram(port, datagram) && QTest::qWaitFor(
                                                   [&] {
                                                       return window.inputs().input(input).counters().messages
                                                           >= messages;
                                                   },
                                                   kWaitMs);
    }

    vexa::test::ScriptedMessages m_messages;
    vexa::test::ScriptedFileDialogs m_files;
    vexa::test::ScratchDir m_dir;
    std::string m_file = m_dir.path("VexaDisplay.ini");
    int m_udpPort = vexa::test::FreeUdpPort();
};

TEST_F(InputWindowsTest, SourcesShowsEachInputWithItsStateAndCounters)
{
    // A port someone else holds makes the TCP input fail.
    const int busyPort = FreePort();
    const int holder = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in busy = vexa::test::LoopbackAddress(busyPort);
    ASSERT_EQ(::bind(holder, reinterpret_cast<const sockaddr*>(&busy), sizeof busy), 0);
    ASSERT_EQ(::listen(holder, 1), 0);

    // Nothing listens at the broker's port: the MQTT input tries again later.
    const int brokerPort = FreePort();
    auto window = StartServer("LineUdpPort=" + std::to_string(m_udpPort) + "\r\nLineTcpPort=" + std::to_string(busyPort)
                              + "\r\nMqttBroker=127.0.0.1:" + std::to_string(brokerPort) + "\r\nMqttTopic1=plant/#\r\n");
    ::close(holder);
    ASSERT_TRUE(Feed(*window, InputSet::kLineUdpInput, m_udpPort, "a v=1\nb v=2,s=\"x\"\nbroken\n[bad] v=3\n", 4));

    window->SendCommand(CommandId(ServerCommand::Sources));
    SourcesWindow* sources = window->inputCommands().sourcesWindow();
    ASSERT_NE(sources, nullptr);
    EXPECT_TRUE(sources->isVisible());
    EXPECT_EQ(sources->windowTitle(), QStringLiteral("Sources"));
    const QTableWidget& table = sources->table();
    // The four live inputs, then the replay.
    ASSERT_EQ(table.rowCount(), 5);
    auto cell = [&table](int row, int column) { return table.item(row, column)->text(); };

    EXPECT_EQ(cell(0, SourcesWindow::kInputColumn), QStringLiteral("Line protocol over UDP"));
    EXPECT_EQ(cell(0, SourcesWindow::kStateColumn), QStringLiteral("listening"));
    EXPECT_EQ(cell(0, SourcesWindow::kDetailColumn), QStringLiteral("127.0.0.1:%1").arg(m_udpPort));
    EXPECT_EQ(cell(0, SourcesWindow::kClientsColumn), QString());
    EXPECT_EQ(cell(0, SourcesWindow::kMessagesColumn), QStringLiteral("4"));
    EXPECT_EQ(cell(0, SourcesWindow::kValuesColumn), QStringLiteral("2"));
    EXPECT_EQ(cell(0, SourcesWindow::kParseErrorsColumn), QStringLiteral("1"));
    EXPECT_EQ(cell(0, SourcesWindow::kRefusedNamesColumn), QStringLiteral("1"));
    EXPECT_EQ(cell(0, SourcesWindow::kSkippedColumn), QStringLiteral("1"));
    EXPECT_EQ(cell(0, SourcesWindow::kKernelDropsColumn), QStringLiteral("0"));
    EXPECT_NE(cell(0, SourcesWindow::kLastMessageColumn), QStringLiteral("never"));

    EXPECT_EQ(cell(1, SourcesWindow::kStateColumn), QStringLiteral("failed"));
    EXPECT_EQ(cell(1, SourcesWindow::kDetailColumn),
              QStringLiteral("cannot bind 127.0.0.1:%1: Address already in use").arg(busyPort));
    EXPECT_EQ(cell(2, SourcesWindow::kInputColumn), QStringLiteral("JSON over UDP"));
    EXPECT_EQ(cell(2, SourcesWindow::kStateColumn), QStringLiteral("off"));
    EXPECT_EQ(cell(2, SourcesWindow::kLastMessageColumn), QStringLiteral("never"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window->inputs().input(InputSet::kMqttInput).state() == InputState::Reconnecting; }, kWaitMs));
    sources->Refresh();
    EXPECT_EQ(cell(3, SourcesWindow::kInputColumn), QStringLiteral("MQTT"));
    EXPECT_EQ(cell(3, SourcesWindow::kStateColumn), QStringLiteral("reconnecting"));
    EXPECT_EQ(cell(3, SourcesWindow::kDetailColumn),
              QStringLiteral("cannot connect to 127.0.0.1:%1: Connection refused").arg(brokerPort));
    EXPECT_EQ(cell(4, SourcesWindow::kInputColumn), QStringLiteral("Replay"));
    EXPECT_EQ(cell(4, SourcesWindow::kStateColumn), QStringLiteral("off"));
    EXPECT_EQ(sources->summary(),
              QStringLiteral("2 names of at most 100000 held; 0 new names refused because the table was full"));

    // The log told of the start and of the failure, one line each.
    const QStringList entries = window->log().entries();
    EXPECT_TRUE(entries.contains(QStringLiteral("Line protocol over UDP: listening on 127.0.0.1:%1").arg(m_udpPort)));
    EXPECT_TRUE(entries.contains(
        QStringLiteral("Line protocol over TCP: failed: cannot bind 127.0.0.1:%1: Address already in use").arg(busyPort)));
}

TEST_F(InputWindowsTest, LiveValuesListsTheNamesWithValueAgeAndInput)
{
    auto window = StartServer("JsonUdpPort=" + std::to_string(m_udpPort) + "\r\nStaleAfterMs=1000\r\n");
    ASSERT_TRUE(Feed(*window, InputSet::kJsonUdpInput, m_udpPort,
                     R"({"engine": {"rpm": 3000.5}, "on": true, "timestamp": 1700000000.25})", 1));

    window->SendCommand(CommandId(ServerCommand::LiveValues));
    LiveValuesWindow* live = window->inputCommands().liveValuesWindow();
    ASSERT_NE(live, nullptr);
    EXPECT_TRUE(live->isVisible());
    EXPECT_EQ(live->summary(), QStringLiteral("2 names"));
    LiveValuesModel& model = live->model();
    ASSERT_EQ(model.rowCount(), 2);
    const std::int64_t fedAt = window->inputs().table().entry(0).receivedMs;
    model.setClock([fedAt] { return fedAt + 1000; });
    auto text = [&model](int row, int column) { return model.data(model.index(row, column)).toString(); };
    EXPECT_EQ(text(0, LiveValuesModel::kNameColumn), QStringLiteral("engine.rpm"));
    EXPECT_EQ(text(0, LiveValuesModel::kValueColumn), QStringLiteral("3000.5"));
    EXPECT_EQ(text(0, LiveValuesModel::kAgeColumn), QStringLiteral("1.0 s"));
    EXPECT_EQ(text(0, LiveValuesModel::kSourceTimeColumn),
              QDateTime::fromMSecsSinceEpoch(1700000000250).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")));
    EXPECT_EQ(text(0, LiveValuesModel::kInputColumn), QStringLiteral("JSON over UDP"));
    EXPECT_EQ(text(1, LiveValuesModel::kNameColumn), QStringLiteral("on"));
    EXPECT_EQ(text(1, LiveValuesModel::kValueColumn), QStringLiteral("1"));
    model.setClock([fedAt] { return fedAt + 1500; });
    EXPECT_EQ(text(0, LiveValuesModel::kAgeColumn), QStringLiteral("1.5 s (stale)"));

    // Names that come later join the list at its next refresh.
    ASSERT_TRUE(Feed(*window, InputSet::kJsonUdpInput, m_udpPort, R"({"late": -2})", 2));
    EXPECT_EQ(model.rowCount(), 2);
    live->Refresh();
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(text(2, LiveValuesModel::kNameColumn), QStringLiteral("late"));
    EXPECT_EQ(text(2, LiveValuesModel::kSourceTimeColumn), QString());
    EXPECT_EQ(live->summary(), QStringLiteral("3 names"));
}

TEST_F(InputWindowsTest, TheDataSourcesDialogShowsTheConfigurationAndRefusesAnUnsoundOne)
{
    InputsConfig config;
    config.lineTcpPort = 9100;
    config.mqttTopics = {"plant/#", "lab/+/temp"};
    config.bindAddress = "0.0.0.0";
    DataSourcesDialog dialog(config, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Data Sources"));
    auto* lineUdp = dialog.findChild<QCheckBox*>(QStringLiteral("lineUdp"));
    auto* lineUdpPort = dialog.findChild<QSpinBox*>(QStringLiteral("lineUdpValue"));
    auto* lineTcp = dialog.findChild<QCheckBox*>(QStringLiteral("lineTcp"));
    auto* lineTcpPort = dialog.findChild<QSpinBox*>(QStringLiteral("lineTcpValue"));
    auto* mqtt = dialog.findChild<QCheckBox*>(QStringLiteral("mqtt"));
    auto* broker = dialog.findChild<QLineEdit*>(QStringLiteral("mqttBroker"));
    auto* topics = dialog.findChild<QPlainTextEdit*>(QStringLiteral("mqttTopics"));
    auto* bind = dialog.findChild<QLineEdit*>(QStringLiteral("bindAddress"));
    auto* stale = dialog.findChild<QCheckBox*>(QStringLiteral("staleAfter"));
    auto* staleMs = dialog.findChild<QSpinBox*>(QStringLiteral("staleAfterValue"));
    ASSERT_TRUE(lineUdp && lineUdpPort && lineTcp && lineTcpPort && mqtt && broker && topics && bind && stale && staleMs);

    EXPECT_FALSE(lineUdp->isChecked());
    EXPECT_FALSE(lineUdpPort->isEnabled());
    EXPECT_EQ(lineUdpPort->value(), 8089);  // offered for when it is switched on
    EXPECT_TRUE(lineTcp->isChecked());
    EXPECT_EQ(lineTcpPort->value(), 9100);
    EXPECT_FALSE(mqtt->isChecked());
    EXPECT_FALSE(broker->isEnabled());
    EXPECT_EQ(topics->toPlainText(), QStringLiteral("plant/#\nlab/+/temp"));
    EXPECT_EQ(bind->text(), QStringLiteral("0.0.0.0"));
    EXPECT_FALSE(stale->isChecked());
    EXPECT_EQ(dialog.config(), config);

    // Every control in reading order on the Tab key, each with a name a
    // screen reader can say.
    QStringList order;
    for (QWidget* at = lineUdp; order.size() < 12; at = at->nextInFocusChain()) {
        if (!(at->focusPolicy() & Qt::TabFocus) || at->objectName().startsWith(QLatin1String("qt_")))
            continue;  // the spin boxes' own edits are parts of them
        order.append(at->objectName());
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(at);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty()) << at->objectName().toStdString();
    }
    EXPECT_EQ(order, (QStringList{"lineUdp", "lineUdpValue", "lineTcp", "lineTcpValue", "jsonUdp", "jsonUdpValue",
                                  "bindAddress", "mqtt", "mqttBroker", "mqttTopics", "staleAfter", "staleAfterValue"}));

    lineUdp->setChecked(true);
    EXPECT_TRUE(lineUdpPort->isEnabled());
    lineTcp->setChecked(false);
    mqtt->setChecked(true);
    broker->setText(QStringLiteral(" broker:1883 "));
    topics->setPlainText(QStringLiteral("a/#\n\n  b/+  \n"));
    stale->setChecked(true);
    staleMs->setValue(2500);
    InputsConfig expected;
    expected.lineUdpPort = 8089;
    expected.mqttBroker = "broker:1883";
    expected.mqttTopics = {"a/#", "b/+"};
    expected.bindAddress = "0.0.0.0";
    expected.staleAfterMs = 2500;
    EXPECT_EQ(dialog.config(), expected);

    // An unsound configuration is shown, and the dialog stays open.
    bind->setText(QStringLiteral("localhost"));
    dialog.show();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    const auto boxes = m_messages.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("The bind address \"localhost\" is not a numeric IPv4 or IPv6 address."));
    EXPECT_EQ(boxes[0].caption, QStringLiteral("ERROR: Illegal Value Entered"));
    bind->setText(QStringLiteral("127.0.0.1"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(InputWindowsTest, ChangedDataSourcesActAtOnceAndOnlyChangedKeysAreWritten)
{
    // The JSON input comes from the command line, and stays out of the file.
    InputOverrides overrides;
    const int jsonPort = FreePort();
    overrides.jsonUdpPort = jsonPort;
    auto window = StartServer("StaleAfterMs=700\r\n", overrides);
    EXPECT_EQ(window->inputs().input(InputSet::kJsonUdpInput).state(), InputState::Listening);
    EXPECT_EQ(window->inputs().table().staleAfter(), 700);

    InputsConfig changed = window->inputs().config();
    changed.lineUdpPort = m_udpPort;
    changed.staleAfterMs = 0;
    window->log().clearLog();
    window->inputCommands().ApplyDataSources(changed);

    EXPECT_EQ(window->inputs().input(InputSet::kLineUdpInput).state(), InputState::Listening);
    EXPECT_EQ(window->log().entries(),
              (QStringList{"Data sources changed", QStringLiteral("Line protocol over UDP: listening on 127.0.0.1:%1").arg(m_udpPort),
                           "Live values never stale"}));
    EXPECT_EQ(vexa::test::ReadFileBytes(m_file), "[VEXA-Com]\r\nDataPath=5\r\nStaleAfterMs=0\r\nLineUdpPort="
                                                     + std::to_string(m_udpPort) + "\r\n");
    ASSERT_TRUE(Feed(*window, InputSet::kLineUdpInput, m_udpPort, "now v=1", 1));

    // Switching it off stops it; the same configuration again changes nothing.
    InputsConfig off = changed;
    off.lineUdpPort = 0;
    window->log().clearLog();
    window->inputCommands().ApplyDataSources(off);
    window->inputCommands().ApplyDataSources(off);
    EXPECT_EQ(window->log().entries(), (QStringList{"Data sources changed", "Line protocol over UDP: stopped"}));
    EXPECT_EQ(window->inputs().input(InputSet::kLineUdpInput).state(), InputState::Off);
    // Its port is free again.
    const int reuse = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = vexa::test::LoopbackAddress(m_udpPort);
    EXPECT_EQ(::bind(reuse, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(reuse);
}

TEST_F(InputWindowsTest, SaveNamesWritesAMeasurementFileOfTheNamesSeen)
{
    auto window = StartServer("LineUdpPort=" + std::to_string(m_udpPort) + "\r\n");
    window->SendCommand(CommandId(ServerCommand::SaveNamesAsMeasurementFile));
    ASSERT_EQ(m_messages.boxes().size(), 1u);
    EXPECT_EQ(m_messages.boxes()[0].text, QStringLiteral("No live source has fed a name yet, so there is nothing to save."));
    EXPECT_EQ(m_messages.boxes()[0].caption, kSaveTitle);
    EXPECT_TRUE(m_files.requests().empty());

    ASSERT_TRUE(Feed(*window, InputSet::kLineUdpInput, m_udpPort, "engine rpm=800\nengine rpm=3100,temp=81.5", 2));
    const std::string base = m_dir.path("live");
    m_files.script(QString::fromStdString(base));
    window->SendCommand(CommandId(ServerCommand::SaveNamesAsMeasurementFile));
    ASSERT_EQ(m_files.requests().size(), 1u);
    EXPECT_EQ(m_files.requests()[0].title, kSaveTitle);
    EXPECT_EQ(m_files.requests()[0].mode, FileDialogMode::Create);
    EXPECT_EQ(m_files.requests()[0].filters.value(0), QStringLiteral("Measurement Files (*.mvx)"));
    const std::string expected = "[engine.rpm]\r\nL=0\r\nH=4000\r\n\r\n[engine.temp]\r\nL=80\r\nH=90\r\n\r\n";
    EXPECT_EQ(vexa::test::ReadFileBytes(base + ".mvx"), expected);
    EXPECT_EQ(window->log().entries().last(),
              QStringLiteral("Measurement file %1.mvx written with 2 names").arg(QString::fromStdString(base)));

    // An existing file is replaced only when the user says so.
    vexa::test::WriteFileBytes(base + ".mvx", "[mine]\r\n");
    m_messages.clear();
    m_files.script(QString::fromStdString(base + ".mvx"));
    m_messages.script({MessageAnswer::No});
    window->SendCommand(CommandId(ServerCommand::SaveNamesAsMeasurementFile));
    ASSERT_EQ(m_messages.boxes().size(), 1u);
    EXPECT_EQ(m_messages.boxes()[0].text,
              QStringLiteral("%1.mvx already exists.\nDo you want to replace it?").arg(QString::fromStdString(base)));
    EXPECT_EQ(vexa::test::ReadFileBytes(base + ".mvx"), "[mine]\r\n");
    m_files.script(QString::fromStdString(base + ".mvx"));
    m_messages.script({MessageAnswer::Yes});
    window->SendCommand(CommandId(ServerCommand::SaveNamesAsMeasurementFile));
    EXPECT_EQ(vexa::test::ReadFileBytes(base + ".mvx"), expected);
}

}  // namespace
}  // namespace vexa::server::test
