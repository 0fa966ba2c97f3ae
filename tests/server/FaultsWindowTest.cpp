// The "Simulate Faults" dialog and the faults' commands on a real server
// window: what the dialog shows and refuses, and how a change of faults is
// put in force, logged and kept in the settings file.

#include "server/LogList.h"
#include "server/ServerWindow.h"
#include "server/SimulateFaultsDialog.h"

#include "server/faults/FaultTestSupport.h"
#include "support/TestSupport.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <memory>

namespace vexa::server {
namespace {

class FaultsWindowTest : public ::testing::Test {
protected:
    /// A started server without a transport whose settings file holds
    /// \p faultKeys in its section.
    std::unique_ptr<ServerWindow> StartServer(const std::string& faultKeys, FaultOverrides overrides = {})
    {
        test::WriteFileBytes(m_file, "[VEXA-Com]\r\nDataPath=5\r\n" + faultKeys);
        auto window = std::make_unique<ServerWindow>(m_file, ServerWindow::LoadIcon());
        window->setFaultOverrides(std::move(overrides));
        window->start(ServerWindow::ShowMode::Normal);
        return window;
    }

    test::ScriptedMessages m_messages;
    test::ScratchDir m_dir;
    std::string m_file = m_dir.path("VexaDisplay.ini");
};

TEST_F(FaultsWindowTest, TheDialogShowsTheFaultsAddsRemovesAndRefusesABadRow)
{
    SimulateFaultsDialog dialog(FaultsOf({"SIN*:spike=0.05,50", "*TEMP*:drift=0.5"}, 7), nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Simulate Faults"));
    auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("faults"));
    auto* add = dialog.findChild<QPushButton*>(QStringLiteral("add"));
    auto* remove = dialog.findChild<QPushButton*>(QStringLiteral("remove"));
    auto* seed = dialog.findChild<QSpinBox*>(QStringLiteral("seed"));
    ASSERT_TRUE(table && add && remove && seed);
    ASSERT_EQ(table->rowCount(), 2);
    auto kindOf = [table](int row) { return qobject_cast<QComboBox*>(table->cellWidget(row, 1)); };
    EXPECT_EQ(table->item(1, 0)->text(), QStringLiteral("*TEMP*"));
    EXPECT_EQ(kindOf(1)->currentText(), QStringLiteral("drift"));
    EXPECT_EQ(table->item(0, 2)->text(), QStringLiteral("0.05,50"));
    EXPECT_EQ(seed->value(), 7);
    EXPECT_EQ(dialog.config(), FaultsOf({"SIN*:spike=0.05,50", "*TEMP*:drift=0.5"}, 7));

    // The table, the buttons and the seed in order on the Tab key, each
    // with a name a screen reader can say.
    QStringList order;
    for (QWidget* at = table; order.size() < 4; at = at->nextInFocusChain()) {
        if (!(at->focusPolicy() & Qt::TabFocus) || at->objectName().startsWith(QLatin1String("qt_"))
            || at->parentWidget() != &dialog)
            continue;
        order.append(at->objectName());
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(at);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty()) << at->objectName().toStdString();
    }
    EXPECT_EQ(order, (QStringList{"faults", "add", "remove", "seed"}));

    add->click();
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->currentRow(), 2);
    table->item(2, 0)->setText(QStringLiteral("RAN?"));
    kindOf(2)->setCurrentText(QStringLiteral("dropout"));
    table->item(2, 2)->setText(QStringLiteral("0.5, 2"));
    table->setCurrentCell(0, 0);
    remove->click();
    seed->setValue(0);
    EXPECT_EQ(dialog.config(), FaultsOf({"*TEMP*:drift=0.5", "RAN?:dropout=0.5,2"}, 0));

    // A row that cannot be read is shown and selected; the dialog stays open.
    kindOf(0)->setCurrentText(QStringLiteral("stuck"));
    dialog.show();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(table->currentRow(), 0);
    const auto boxes = m_messages.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Fault 1 (*TEMP*:stuck=0.5) cannot be used: stuck takes CHANCE,SECONDS."));
    EXPECT_EQ(boxes[0].caption, QStringLiteral("ERROR: Illegal Value Entered"));
    table->item(0, 2)->setText(QStringLiteral("0.01,3"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(FaultsWindowTest, FaultsStartFromTheFileOrTheCommandLineAndEachChangeIsLoggedAndKept)
{
    const QAction* item = nullptr;
    {
        auto window = StartServer("Fault1=SIN*:noise=2\r\nFault2=bad\r\nFaultSeed=4\r\n");
        item = window->action(ServerCommand::SimulateFaults);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(), QStringLiteral("Simulate Faults..."));
        EXPECT_EQ(window->faultCommands().config(), FaultsOf({"SIN*:noise=2"}, 4));
        const QStringList entries = window->log().entries();
        EXPECT_TRUE(entries.contains(
            QStringLiteral(R"(The setting Fault2=bad cannot be used (":KIND=" is missing); it is left out.)")));
        const qsizetype heading = entries.indexOf(QStringLiteral("Simulated faults, seed 4:"));
        ASSERT_GE(heading, 0);
        EXPECT_EQ(entries.value(heading + 1), QStringLiteral("\tSIN*:noise=2"));
    }

    // Faults given on the command line replace the file's, and a change of
    // the seed alone writes the seed alone.
    FaultOverrides overrides;
    overrides.faults = FaultsOf({"COS*:drift=1", "*:dropout=0.1,1"}, 0).faults;
    auto window = StartServer("Fault1=SIN*:noise=2\r\n", overrides);
    EXPECT_EQ(window->faultCommands().config(), FaultsOf({"COS*:drift=1", "*:dropout=0.1,1"}, 1));
    window->log().clearLog();
    window->faultCommands().ApplyFaults(FaultsOf({"COS*:drift=1", "*:dropout=0.1,1"}, 9));
    EXPECT_EQ(window->log().entries(),
              (QStringList{"Simulated faults changed, seed 9:", "\tCOS*:drift=1", "\t*:dropout=0.1,1"}));
    EXPECT_EQ(test::ReadFileBytes(m_file), "[VEXA-Com]\r\nDataPath=5\r\nFault1=SIN*:noise=2\r\nFaultSeed=9\r\n");

    // The same faults again change nothing; none at all is logged too.
    window->log().clearLog();
    window->faultCommands().ApplyFaults(FaultsOf({"COS*:drift=1", "*:dropout=0.1,1"}, 9));
    EXPECT_TRUE(window->log().entries().isEmpty());
    window->faultCommands().ApplyFaults(FaultsOf({}, 9));
    EXPECT_EQ(window->log().entries(), QStringList{"Simulated faults changed: none"});
    EXPECT_EQ(test::ReadFileBytes(m_file), "[VEXA-Com]\r\nDataPath=5\r\nFaultSeed=9\r\n");
    EXPECT_EQ(window->faultCommands().injector().config(), FaultsOf({}, 9));
}

}  // namespace
}  // namespace vexa::server
