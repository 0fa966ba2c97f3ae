#include "FrameTestSupport.h"

#include "app/FrameCommand.h"
#include "banner/Banner.h"
#include "document/DisplayFormat.h"
#include "document/DocumentPaths.h"
#include "document/GraphTable.h"
#include "document/MeasurementSlot.h"
#include "document/ProfileStore.h"
#include "support/RawTcpListener.h"
#include "support/ServerProcess.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

namespace vexa::test {
namespace {

using app::CommandId;
using app::FrameCommand;

/// Generous room for the server's simulation to feed every graph.
constexpr int kLiveWaitMs = 30000;
constexpr int kRowsWanted = 3;
/// A screen on which ten tiled windows are each large enough to draw.
constexpr QSize kScreen(1280, 1024);

struct Measurement {
    const char* name;
    const char* minimum;
    const char* maximum;
    const char* units;
};

/// Each name's first three letters pick the simulation's generator.
constexpr std::array<Measurement, 3> kMeasurements{{
    {"SINE_FLOW", "-100", "100", "l/min"},
    {"COS_TEMP", "-120", "150", "degC"},
    {"TRI_LEVEL", "-250", "2.5e2", "mm"},
}};

/// The child of \p dialog named \p name (a button's name is its text);
/// null, and the running test fails, when there is none.
template <typename T>
T* Control(const QWidget& dialog, const char* name)
{
    T* control = dialog.findChild<T*>(QString::fromLatin1(name));
    if (control == nullptr)
        ADD_FAILURE() << dialog.objectName().toStdString() << " has no " << name;
    return control;
}

void Click(const QWidget& dialog, const char* button)
{
    if (auto* control = Control<QAbstractButton>(dialog, button))
        control->click();
}

/// The captions of the message boxes shown so far.
std::string Captions(const ScriptedMessages& messages)
{
    std::string captions;
    for (const MessageRequest& box : messages.boxes())
        captions += "\"" + box.caption.toStdString() + "\": " + box.text.toStdString() + "\n";
    return captions;
}

/// Presses Ok; a dialog that refuses it fails the test and is ended, so that
/// the run goes on to its other checks.
void Confirm(QDialog& dialog)
{
    Click(dialog, "Ok");
    if (dialog.isVisible()) {
        ADD_FAILURE() << dialog.objectName().toStdString() << " refused Ok";
        dialog.done(0);
    }
}

/// Replaces the text of box \p name as typing over it does.
void Type(const QWidget& dialog, const char* name, const QString& text)
{
    if (auto* box = Control<QLineEdit>(dialog, name)) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
}

/// Picks \p text in list box \p name with the arrow keys.
void Pick(const QWidget& dialog, const char* name, const QString& text)
{
    auto* list = Control<QComboBox>(dialog, name);
    if (list == nullptr)
        return;
    QTest::keyClick(list, Qt::Key_Home);
    for (int step = 0; step < list->count() && list->currentText() != text; ++step)
        QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentText(), text) << name;
}

/// Clicks the entry \p text of list \p name.
void ClickEntry(const QWidget& dialog, const char* name, const QString& text)
{
    auto* list = Control<QListWidget>(dialog, name);
    if (list == nullptr)
        return;
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name << ": " << text.toStdString();
    list->scrollToItem(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
}

/// How many entries list \p name holds; -1 when there is no such list.
int EntryCount(const QWidget& dialog, const char* name)
{
    const auto* list = Control<QListWidget>(dialog, name);
    return list != nullptr ? list->count() : -1;
}

/// Runs \p drive on the next modal dialog named \p name once it is up.
void DriveDialog(const char* name, std::function<void(QDialog&)> drive)
{
    DriveModalWidget(
        [name](QWidget& modal) { return modal.objectName() == QLatin1String(name) && qobject_cast<QDialog*>(&modal); },
        [drive = std::move(drive)](QWidget& modal) { drive(*qobject_cast<QDialog*>(&modal)); });
}

void DefineMeasurement(QWidget& list, const Measurement& measurement)
{
    DriveDialog("measurement_definition", [&measurement](QDialog& definition) {
        Type(definition, "Name", QString::fromLatin1(measurement.name));
        Type(definition, "Minimum Value", QString::fromLatin1(measurement.minimum));
        Type(definition, "Maximum Value", QString::fromLatin1(measurement.maximum));
        Type(definition, "Units", QString::fromLatin1(measurement.units));
        Confirm(definition);
    });
    Click(list, "Add");
}

/// Adds measurement \p name to the graph editor's list through "Select
/// Measurement".
void AssignMeasurement(QWidget& editor, const char* name)
{
    DriveDialog("select_measurement", [name](QDialog& selection) {
        ClickEntry(selection, "definedMeasurements", QString::fromLatin1(name));
        Confirm(selection);
    });
    Click(editor, "addMeasurement");
}

/// Graph number \p index + 1, of type \p type.
void DefineGraph(QWidget& list, int index, int type)
{
    DriveDialog("EditGraphDialog", [index, type](QDialog& editor) {
        const QString typeName = QString::fromLatin1(kGraphTypeNames[static_cast<std::size_t>(type - 1)]);
        Type(editor, "graphTitle", QStringLiteral("%1 %2").arg(typeName).arg(index + 1));
        Pick(editor, "graphType", typeName);
        const int most = std::min<int>(MostMeasurementsOfType(type), kMeasurements.size());
        for (int k = 0; k < most; ++k)
            AssignMeasurement(editor, kMeasurements[static_cast<std::size_t>(k)].name);
        EXPECT_EQ(EntryCount(editor, "measurements"), most) << typeName.toStdString();
        Confirm(editor);
    });
    Click(list, "Add");
}

TEST(EditorsEndToEnd, ADocumentMadeInTheEditorsShowsLiveValuesInAGraphOfEveryType)
{
    ServerProcess server(QStringLiteral(VEXALINK_PATH), FreePort());
    ASSERT_TRUE(server.isServing()) << server.errorText().toStdString();
    WriteSettings(ServerSettings(server.port()));
    ScriptedMessages messages;
    ScratchDir dir;
    // The stem makes the server simulate the file's measurements.
    const std::string path = dir.path("SIMULATE.dsp");

    auto frame = StartFrame();
    CloseBanner();
    frame->resize(kScreen);
    {
        ScriptedFileDialogs dialogs;
        dialogs.script(QString::fromStdString(dir.path("untitled.dsp")));
        frame->SendCommand(CommandId(FrameCommand::New));
        ASSERT_TRUE(frame->probe().document.isOpen());
    }

    DriveDialog("edit_measurement", [](QDialog& list) {
        for (const Measurement& measurement : kMeasurements)
            DefineMeasurement(list, measurement);
        EXPECT_EQ(EntryCount(list, "Defined Measurements"), int(kMeasurements.size()));
        Confirm(list);
    });
    frame->SendCommand(CommandId(FrameCommand::Measurements));

    DriveDialog("select", [](QDialog& list) {
        EXPECT_EQ(list.windowTitle(), "Select Graph");
        for (int type = 1; type <= kGraphTypeCount; ++type)
            DefineGraph(list, type - 1, type);
        EXPECT_EQ(EntryCount(list, "Definitions"), kGraphTypeCount);
        Confirm(list);
    });
    frame->SendCommand(CommandId(FrameCommand::GraphDefinitions));

    DriveDialog("select", [](QDialog& list) {
        EXPECT_EQ(list.windowTitle(), "Edit View");
        DriveDialog("EditView", [](QDialog& editor) {
            Type(editor, "View Title", QStringLiteral("Every Type"));
            auto* graphs = Control<QListWidget>(editor, "Selected Graphs");
            for (int row = 0; graphs != nullptr && row < graphs->count(); ++row)
                ClickEntry(editor, "Selected Graphs", graphs->item(row)->text());
            EXPECT_EQ(graphs != nullptr ? graphs->selectedItems().size() : 0, kGraphTypeCount);
            Confirm(editor);
        });
        Click(list, "Add");
        EXPECT_EQ(EntryCount(list, "Definitions"), 1);
        Confirm(list);
    });
    frame->SendCommand(CommandId(FrameCommand::ViewDefinitions));
    ASSERT_TRUE(frame->probe().document.isModified());

    {
        ScriptedFileDialogs dialogs;
        dialogs.script(QString::fromStdString(path));
        frame->SendCommand(CommandId(FrameCommand::SaveAs));
        ASSERT_EQ(dialogs.unusedAnswers(), 0u);
    }
    ASSERT_FALSE(frame->probe().document.isModified());
    const std::string measurementFile = MeasurementPathFor(path);
    for (const Measurement& measurement : kMeasurements) {
        const auto stored = [&](const char* key) {
            return profile::ReadString(measurement.name, key, "?", measurementFile);
        };
        EXPECT_EQ(stored(kMinimumKey), measurement.minimum) << measurement.name;
        EXPECT_EQ(stored(kMaximumKey), measurement.maximum) << measurement.name;
        EXPECT_EQ(stored(kUnitsKey), measurement.units) << measurement.name;
    }
    frame->SendCommand(CommandId(FrameCommand::Close));
    ASSERT_FALSE(frame->probe().document.isOpen());
    EXPECT_TRUE(messages.boxes().empty()) << Captions(messages);

    ASSERT_TRUE(OpenDisplayFile(*frame, path));
    EXPECT_EQ(ItemTexts(*MenuOf(*frame, QStringLiteral("&Views"))), QStringList({"Every Type"}));
    frame->SendCommand(app::kFirstViewCommand);
    ASSERT_EQ(MdiAreaOf(*frame).subWindowList().size(), kGraphTypeCount);
    // The view keeps no window places yet: the windows open one over the
    // other; tiled, each is in sight and draws.
    frame->SendCommand(CommandId(FrameCommand::Tile));

    std::vector<int> types;
    for (int index = 0; index < kGraphTypeCount; ++index)
        types.push_back(frame->probe().graphTable.record(index).type);
    std::vector<int> everyType(kGraphTypeCount);
    std::iota(everyType.begin(), everyType.end(), 1);
    EXPECT_EQ(types, everyType);

    const auto everyGraphDrew = [&] {
        for (int index = 0; index < kGraphTypeCount; ++index) {
            if (!HasDrawnRows(*frame, index, kRowsWanted))
                return false;
        }
        return true;
    };
    EXPECT_TRUE(QTest::qWaitFor(everyGraphDrew, kLiveWaitMs));
    for (int index = 0; index < kGraphTypeCount; ++index)
        EXPECT_TRUE(HasDrawnRows(*frame, index, kRowsWanted)) << "graph W" << index + 1;
    EXPECT_TRUE(frame->probe().link.isConnected());
    EXPECT_TRUE(messages.boxes().empty()) << Captions(messages);

    frame.reset();
}

}  // namespace
}  // namespace vexa::test
