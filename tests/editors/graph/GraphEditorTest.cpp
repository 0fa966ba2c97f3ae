#include "GraphEditorFixture.h"

#include "app/help/HelpPopup.h"
#include "app/help/HelpTopics.h"
#include "app/help/HelpWindow.h"
#include "editors/graph/GraphEditor.h"
#include "editors/graph/GraphPreview.h"
#include "editors/graph/MeasurementSelectionDialog.h"
#include "support/Waits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

namespace vexa::test {
namespace {

using editors::MeasurementSelectionDialog;

QString Text(const QObject& dialog, const char* name)
{
    return Child<QLineEdit>(dialog, QString::fromLatin1(name))->text();
}

QComboBox* List(const QObject& dialog, const char* name)
{
    return Child<QComboBox>(dialog, QString::fromLatin1(name));
}

QStringList Entries(const QListWidget& list)
{
    QStringList entries;
    for (int row = 0; row < list.count(); ++row)
        entries << list.item(row)->text();
    return entries;
}

QListWidget& Measurements(const QObject& dialog)
{
    return *Child<QListWidget>(dialog, QStringLiteral("measurements"));
}

/// Picks \p type in the type list as the user does.
void PickType(QObject& dialog, int type)
{
    QComboBox* list = List(dialog, "graphType");
    list->setCurrentIndex(type - 1);
    emit list->activated(type - 1);
}

void TypeInto(QObject& dialog, const char* name, const char* text)
{
    QLineEdit* edit = Child<QLineEdit>(dialog, QString::fromLatin1(name));
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromLatin1(text));
}

/// Chooses \p name in the next "Select Measurement" and presses Ok.
void ChooseMeasurement(const QString& name)
{
    OnNextModalDialog(QString::fromLatin1(MeasurementSelectionDialog::kCaption), [name](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(QString::fromLatin1(MeasurementSelectionDialog::kListName));
        const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        list->setCurrentItem(found.first());
        emit list->itemClicked(found.first());
        ClickButton(dialog, "Ok");
    });
}

const char* const kTwoGraphs = "[W1]\r\nT=Flow\r\nP=TimeHistory\r\nM1=Gamma\r\nM2=beta\r\nM3=Alpha\r\n"
                               "[W2]\r\nT=Level\r\nP=Meter\r\nM1=Alpha\r\n"
                               "[V1]\r\nT=Both\r\nW1=Flow\r\nW2=Level\r\nW3=Flow\r\n"
                               "[V2]\r\nT=Other\r\nW1=Level\r\nW2=Flowing\r\n";

TEST_F(GraphEditorTest, ANewGraphShowsTheEditorsDefaults)
{
    writeDisplay("[W1]\r\nT=Flow\r\nM1=Alpha\r\n", {"Flow", ""}, 1);
    GraphEditorDialog& dialog = open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edit Graph"));
    EXPECT_EQ(Text(dialog, "graphTitle"), QString());
    EXPECT_EQ(List(dialog, "graphType")->currentText(), QStringLiteral("FixedTabular"));
    EXPECT_EQ(List(dialog, "characteristic")->currentText(), QStringLiteral("Proportional"));
    EXPECT_EQ(Text(dialog, "updateRate"), QStringLiteral("1000"));
    for (const char* box : {"sizeX", "sizeY", "sizeWidth", "sizeHeight"})
        EXPECT_EQ(Text(dialog, box), QStringLiteral("300")) << box;
    EXPECT_EQ(Measurements(dialog).count(), 0);
    EXPECT_EQ(List(dialog, "windowBackground")->currentIndex(), 7);
    EXPECT_EQ(List(dialog, "dataColour2")->currentIndex(), 14);
    EXPECT_EQ(List(dialog, "titleColour")->currentIndex(), 2);
    EXPECT_EQ(Text(dialog, "lowHighHysteresis"), QStringLiteral("0.1"));
    EXPECT_EQ(Text(dialog, "deviationHysteresis"), QStringLiteral("0.0"));
    EXPECT_EQ(List(dialog, "alarmColour3")->currentText(), QStringLiteral("Light Cyan"));
    EXPECT_EQ(Text(dialog, "alarmText3"), QStringLiteral("Low"));
    EXPECT_FALSE(dialog.isModified());
}

TEST_F(GraphEditorTest, OkWithoutChangesEndsWithNothingSavedAndNothingWritten)
{
    writeDisplay(kTwoGraphs, {"Flow", "Level", ""}, 2);
    const std::string before = display();
    open();
    EXPECT_EQ(press("Ok"), 0);
    EXPECT_EQ(display(), before);
    EXPECT_TRUE(m_messages.calls().empty());
}

TEST_F(GraphEditorTest, AddThenOkWithoutAnyChangeReturnsZero)
{
    writeDisplay(kTwoGraphs, {"Flow", "Level", ""}, 2);
    const std::string before = display();
    OnNextModalDialog(QString::fromLatin1(GraphEditorDialog::kCaption),
                      [](QDialog& dialog) { ClickButton(dialog, "Ok"); });
    EXPECT_EQ(editors::EditGraph(m_owner, m_display, m_measurementFile), 0);
    EXPECT_EQ(display(), before);
}

TEST_F(GraphEditorTest, MeasurementsAreListedAlphabeticallyWithoutRegardToCase)
{
    writeDisplay(kTwoGraphs, {"Flow", "Level"}, 0);
    GraphEditorDialog& dialog = open();
    EXPECT_EQ(Entries(Measurements(dialog)), QStringList({"Alpha", "beta", "Gamma"}));
}

TEST_F(GraphEditorTest, ChangingToAMeterKeepsTheMeasurementsAndSavingNamesTheMaximum)
{
    writeDisplay(kTwoGraphs, {"Flow", "Level"}, 0);
    GraphEditorDialog& dialog = open();
    auto* add = Child<QPushButton>(dialog, QStringLiteral("addMeasurement"));
    EXPECT_TRUE(add->isEnabled());
    PickType(dialog, kMeter);
    EXPECT_EQ(Measurements(dialog).count(), 3);
    EXPECT_FALSE(add->isEnabled());
    EXPECT_TRUE(dialog.isModified());
    EXPECT_EQ(press("Ok"), -1);
    ASSERT_EQ(m_messages.boxes().size(), 1u);
    EXPECT_EQ(m_messages.boxes()[0].text,
              QStringLiteral("There are too many measurements defined for this graph. The maximum number that "
                             "can be defined is 1."));
    EXPECT_EQ(m_messages.boxes()[0].caption, QStringLiteral("Error Saving Graph"));
    EXPECT_EQ(m_messages.boxes()[0].icon, MessageIcon::Information);
    EXPECT_EQ(m_messages.beepCount(), 1);
    EXPECT_EQ(read("W1", "P"), "TimeHistory");
}

TEST_F(GraphEditorTest, AnAddedMeasurementSavesFirstAndSortsWhenOpenedAgain)
{
    writeDisplay("[W1]\r\nT=Flow\r\nP=TimeHistory\r\nM1=beta\r\nM2=Gamma\r\n", {"Flow"}, 0);
    GraphEditorDialog& dialog = open();
    ChooseMeasurement(QStringLiteral("Delta"));
    ClickButton(dialog, "addMeasurement");
    EXPECT_EQ(Entries(Measurements(dialog)), QStringList({"Delta", "beta", "Gamma"}));
    EXPECT_EQ(press("Ok"), 1);
    EXPECT_EQ(read("W1", "M1"), "Delta");
    EXPECT_EQ(read("W1", "M3"), "Gamma");

    GraphEditorDialog& again = open();
    EXPECT_EQ(Entries(Measurements(again)), QStringList({"beta", "Delta", "Gamma"}));
    TypeInto(again, "updateRate", "250");
    EXPECT_EQ(press("Ok"), 1);
    EXPECT_EQ(read("W1", "M1"), "beta");
    EXPECT_EQ(read("W1", "M2"), "Delta");
}

TEST_F(GraphEditorTest, AnAddThatIsCancelledLeavesNoEmptyEntry)
{
    writeDisplay(kTwoGraphs, {"Flow", "Level"}, 1);
    GraphEditorDialog& dialog = open();
    PickType(dialog, kTimeHistory);
    OnNextModalDialog(QString::fromLatin1(MeasurementSelectionDialog::kCaption),
                      [](QDialog& selection) { ClickButton(selection, "Cancel"); });
    ClickButton(dialog, "addMeasurement");
    EXPECT_EQ(Entries(Measurements(dialog)), QStringList({"Alpha"}));
}

TEST_F(GraphEditorTest, SelectMeasurementAsksForASelectionAndADoubleClickChooses)
{
    writeDisplay(kTwoGraphs, {"Flow", "Level"}, 1);
    GraphEditorDialog& dialog = open();
    Measurements(dialog).setCurrentRow(0);
    OnNextModalDialog(QString::fromLatin1(MeasurementSelectionDialog::kCaption), [](QDialog& selection) {
        auto* list = selection.findChild<QListWidget*>(QString::fromLatin1(MeasurementSelectionDialog::kListName));
        EXPECT_EQ(Entries(*list), QStringList({"Alpha", "beta", "Delta", "Gamma"}));
        list->setCurrentRow(-1);
        emit list->itemClicked(nullptr);
        ClickButton(selection, "Ok");
        EXPECT_TRUE(selection.isVisible());
        emit list->itemDoubleClicked(list->item(3));
        list->setCurrentRow(3);
        emit list->itemDoubleClicked(list->item(3));
    });
    ClickButton(dialog, "editMeasurement");
    ASSERT_EQ(m_messages.boxes().size(), 2u);
    EXPECT_EQ(m_messages.boxes()[0].text, QStringLiteral("Please select a measurement."));
    EXPECT_EQ(m_messages.boxes()[0].caption, QStringLiteral("Unable To Assign Measurement"));
    EXPECT_EQ(Entries(Measurements(dialog)), QStringList({"Gamma"}));
    EXPECT_TRUE(dialog.isModified());
}

TEST_F(GraphEditorTest, DeleteAsksAndSelectsTheEntryThatTookThePlace)
{
    writeDisplay(kTwoGraphs, {"Flow", "Level"}, 0);
    GraphEditorDialog& dialog = open();
    QListWidget& list = Measurements(dialog);
    list.setCurrentRow(1);
    m_messages.script({MessageAnswer::No, MessageAnswer::Yes, MessageAnswer::Yes});
    ClickButton(dialog, "deleteMeasurement");
    EXPECT_EQ(list.count(), 3);
    EXPECT_FALSE(dialog.isModified());
    ClickButton(dialog, "deleteMeasurement");
    EXPECT_EQ(Entries(list), QStringList({"Alpha", "Gamma"}));
    EXPECT_EQ(list.currentItem()->text(), QStringLiteral("Gamma"));
    ClickButton(dialog, "deleteMeasurement");
    EXPECT_EQ(list.currentItem()->text(), QStringLiteral("Alpha"));
    EXPECT_EQ(m_messages.boxes()[0].text, QStringLiteral("Delete this entry?"));
    EXPECT_EQ(m_messages.boxes()[0].caption, QStringLiteral("Delete Measurement"));
    EXPECT_EQ(m_messages.boxes()[0].buttons, MessageButtons::YesNo);
}

TEST_F(GraphEditorTest, AnUnchangedTitleIsNeverCheckedForUniqueness)
{
    writeDisplay("[W1]\r\nT=Same\r\nM1=Alpha\r\n[W2]\r\nT=Same\r\nM1=beta\r\n", {"Same", "Same"}, 1);
    GraphEditorDialog& dialog = open();
    TypeInto(dialog, "updateRate", "20");
    EXPECT_EQ(press("Ok"), 1);
    EXPECT_EQ(read("W2", "UP"), "20");

    open();
    TypeInto(*m_dialog, "graphTitle", "Same");
    EXPECT_EQ(press("Ok"), -1);
    EXPECT_EQ(m_messages.boxes().back().text,
              QStringLiteral("Please select another title for this graph. This title is already in use by another "
                             "graph window."));
}

TEST_F(GraphEditorTest, RenamingRewritesTheViewEntriesOfTheOldTitleOnly)
{
    writeDisplay(kTwoGraphs, {"Flow", "Level"}, 0);
    GraphEditorDialog& dialog = open();
    TypeInto(dialog, "graphTitle", "Outflow");
    EXPECT_TRUE(dialog.isTitleChanged());
    EXPECT_EQ(press("Ok"), 1);
    EXPECT_EQ(read("W1", "T"), "Outflow");
    EXPECT_EQ(read("V1", "W1"), "Outflow");
    EXPECT_EQ(read("V1", "W2"), "Level");
    EXPECT_EQ(read("V1", "W3"), "Outflow");
    EXPECT_EQ(read("V2", "W2"), "Flowing");
    EXPECT_EQ(Entries(m_owner), QStringList({"Outflow", "Level"}));
    EXPECT_EQ(m_owner.currentRow(), 0);
}

TEST_F(GraphEditorTest, AScrollingTableKeepsNoAlarmHysteresisOrDataColourKeys)
{
    writeDisplay("[W1]\r\nT=Log\r\nP=TimeHistory\r\nM1=Alpha\r\nAH=1 2\r\nA1=1,2,OK\r\nA2=1,3,Hi,5\r\n"
                 "DC1=4\r\nPC=3\r\nGF=Arial,8,0,0\r\n",
                 {"Log"}, 0);
    GraphEditorDialog& dialog = open();
    PickType(dialog, kScrollingTabular);
    EXPECT_EQ(press("Ok"), 1);
    for (const char* key : {"AH", "A1", "A2", "A3", "A4", "A5", "A6", "A7", "DC1", "DC2", "DC8", "PC", "GF", "TF"})
        EXPECT_EQ(read("W1", key), "<absent>") << key;
    EXPECT_EQ(read("W1", "P"), "ScrollingTabular");
    // Its label font loads the colour alone; face and size keep what they showed.
    EXPECT_EQ(read("W1", "LF"), "Arial,8,0,0");
}

TEST_F(GraphEditorTest, CancelAsksOnlyAfterChangesAndYesSaves)
{
    writeDisplay(kTwoGraphs, {"Flow", "Level"}, 1);
    open();
    EXPECT_EQ(press("Cancel"), 0);
    EXPECT_TRUE(m_messages.calls().empty());

    const struct {
        MessageAnswer answer;
        int result;
        const char* rate;
    } cases[] = {
        {MessageAnswer::Cancel, -1, "1000"},
        {MessageAnswer::No, 0, "1000"},
        {MessageAnswer::Yes, 1, "70"},
    };
    for (const auto& each : cases) {
        m_messages.clear();
        open();
        TypeInto(*m_dialog, "updateRate", "70");
        m_messages.script({each.answer});
        EXPECT_EQ(press("Cancel"), each.result) << MessageAnswerName(each.answer);
        ASSERT_EQ(m_messages.boxes().size(), 1u);
        EXPECT_EQ(m_messages.boxes()[0].caption, QStringLiteral("Cancel Dialog"));
        EXPECT_EQ(m_messages.beepCount(), 1);
        EXPECT_EQ(read("W2", "UP"), each.rate == std::string("1000") ? "<absent>" : each.rate);
    }
}

TEST_F(GraphEditorTest, OkOrCancelPressedTwiceEndsOnce)
{
    writeDisplay(kTwoGraphs, {"Flow", "Level"}, 1);
    GraphEditorDialog& dialog = open();
    TypeInto(dialog, "updateRate", "70");
    ClickButton(dialog, "Ok");
    ClickButton(dialog, "Ok");
    ClickButton(dialog, "Cancel");
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_TRUE(m_messages.calls().empty());
    EXPECT_EQ(read("W2", "UP"), "70");
}

/// One row per type: what is enabled and what is loaded from a section that
/// sets every key.
TEST_F(GraphEditorTest, TypeDependentControlsFollowTheTable)
{
    const std::string keys = "M1=Alpha\r\nPC=3\r\nWB=5\r\nGF=Liberation Serif,12,3,6\r\nLF=Liberation Mono,14,4,8\r\n"
                             "TF=Liberation Sans,16,1,9\r\nDC1=11\r\nDC8=12\r\nAH=0.7 0.9\r\nA1=1,13,Fine\r\n"
                             "A2=1,14,Up,80\r\nA3=1,15,Down,-3\r\nA7=1,16,Off,2\r\n";
    const struct {
        int type;
        bool plot;
        bool grid, label, title;
        int dataColours;
        /// Enabled check box, value, text, colour of OK, High, Low, High High.
        const char* alarmUse;
        bool hysteresis;
        /// The label size shown ("" when none is).
        const char* labelSize;
        bool gridBold;
    } rows[] = {
        {kTimeHistory, true, true, true, true, 8, "1011 1111 1111 1111", true, "14", true},
        {kXYPlot, true, true, true, true, 1, "1011 1111 1111 1111", true, "14", true},
        {kFixedTabular, false, false, false, true, 8, "1011 1111 1111 1111", true, "", false},
        {kScrollingTabular, false, false, true, false, 0, "0000 0000 0000 0000", false, "", false},
        {kHorizontalBarGraph, false, true, true, true, 8, "1011 1111 1111 1111", true, "14", true},
        {kVerticalBarGraph, false, true, true, true, 8, "1011 1111 1111 1111", true, "14", true},
        {kMeter, false, true, true, true, 1, "1001 1101 1101 0000", false, "14", true},
        {kArcMeter, false, true, true, true, 1, "1001 1101 1101 0000", false, "14", true},
        {kPieMeter, false, true, true, true, 1, "1001 1101 1101 0000", false, "14", true},
        {kAnnunciator, false, true, false, true, 8, "1000 1111 1111 0000", false, "", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(kGraphTypeNames[static_cast<std::size_t>(row.type - 1)]);
        writeDisplay("[W1]\r\nT=G\r\nP=" + std::string(kGraphTypeNames[static_cast<std::size_t>(row.type - 1)])
                         + "\r\n" + keys,
                     {"G"}, 0);
        GraphEditorDialog& dialog = open();
        EXPECT_EQ(List(dialog, "plotBackground")->isEnabled(), row.plot);
        EXPECT_EQ(List(dialog, "plotBackground")->currentIndex(), row.plot ? 3 : -1);
        EXPECT_EQ(List(dialog, "windowBackground")->currentIndex(), 5);
        const struct {
            const char* stem;
            bool enabled;
            const char* face;
            int colour;
        } groups[] = {{"grid", row.grid, "Liberation Serif", 6},
                      {"label", row.label, "Liberation Mono", 8},
                      {"title", row.title, "Liberation Sans", 9}};
        for (const auto& group : groups) {
            const QString stem = QString::fromLatin1(group.stem);
            QComboBox* face = Child<QComboBox>(dialog, stem + "Font");
            EXPECT_EQ(face->isEnabled(), group.enabled) << group.stem;
            EXPECT_EQ(Child<QComboBox>(dialog, stem + "Colour")->currentIndex(), group.enabled ? group.colour : -1)
                << group.stem;
            const bool facesLoaded = group.enabled && row.type != kScrollingTabular;
            EXPECT_EQ(face->currentText(), facesLoaded ? QString::fromLatin1(group.face) : QString()) << group.stem;
        }
        EXPECT_EQ(Child<QComboBox>(dialog, "labelSize")->currentText(), QString::fromLatin1(row.labelSize));
        EXPECT_EQ(Child<QCheckBox>(dialog, "gridBold")->isChecked(), row.gridBold);
        EXPECT_EQ(Child<QCheckBox>(dialog, "gridItalic")->isChecked(), row.gridBold);
        for (int k = 1; k <= kMaxMeasurementsPerGraph; ++k) {
            QComboBox* list = Child<QComboBox>(dialog, QStringLiteral("dataColour%1").arg(k));
            EXPECT_EQ(list->isEnabled(), k <= row.dataColours) << k;
            if (k > row.dataColours) {
                EXPECT_EQ(list->currentIndex(), -1) << k;
            }
        }
        if (row.dataColours > 0) {
            EXPECT_EQ(List(dialog, "dataColour1")->currentIndex(), 11);
        }
        const std::string use = row.alarmUse;
        for (int entry = 1; entry <= 4; ++entry) {
            const std::string parts = use.substr(static_cast<std::size_t>(entry - 1) * 5, 4);
            const QString n = QString::number(entry);
            EXPECT_EQ(Child<QCheckBox>(dialog, "alarmCheck" + n)->isEnabled(), parts[0] == '1') << entry;
            if (entry != 1) {
                EXPECT_EQ(Child<QLineEdit>(dialog, "alarmValue" + n)->isEnabled(), parts[1] == '1') << entry;
            }
            EXPECT_EQ(Child<QLineEdit>(dialog, "alarmText" + n)->isEnabled(), parts[2] == '1') << entry;
            EXPECT_EQ(Child<QComboBox>(dialog, "alarmColour" + n)->isEnabled(), parts[3] == '1') << entry;
        }
        const bool highInUse = use[5] == '1';
        EXPECT_EQ(Text(dialog, "alarmValue2"), highInUse ? QStringLiteral("80") : QString());
        EXPECT_EQ(List(dialog, "alarmColour2")->currentIndex(), highInUse ? 14 : -1);
        EXPECT_EQ(Child<QCheckBox>(dialog, "alarmCheck7")->isChecked(), row.hysteresis);
        EXPECT_EQ(Child<QLineEdit>(dialog, "lowHighHysteresis")->isEnabled(), row.hysteresis);
        EXPECT_EQ(Text(dialog, "deviationHysteresis"), row.hysteresis ? QStringLiteral("0.9") : QString());
        EXPECT_EQ(Child<QPushButton>(dialog, "addMeasurement")->isEnabled(),
                  MostMeasurementsOfType(row.type) > 1);
    }
}

TEST_F(GraphEditorTest, ATypeOrCharacteristicThatNamesNothingShowsNoneAndSavingStops)
{
    writeDisplay("[W1]\r\nT=G\r\nP=Strip\r\nWC=Fix\r\nM1=Alpha\r\nA4=1,3,HH,9\r\n[W2]\r\nT=H\r\nP=pie\r\nWC=\r\n",
                 {"G", "H"}, 0);
    GraphEditorDialog& dialog = open();
    EXPECT_EQ(List(dialog, "graphType")->currentIndex(), -1);
    EXPECT_EQ(List(dialog, "characteristic")->currentText(), QStringLiteral("Fixed"));
    EXPECT_FALSE(Child<QPushButton>(dialog, "addMeasurement")->isEnabled());
    // With no type every alarm row is in use.
    EXPECT_TRUE(Child<QCheckBox>(dialog, "alarmCheck4")->isChecked());
    EXPECT_TRUE(Child<QLineEdit>(dialog, "lowHighHysteresis")->isEnabled());
    TypeInto(dialog, "updateRate", "100");
    EXPECT_EQ(press("Ok"), -1);
    EXPECT_EQ(m_messages.boxes().back().text, QStringLiteral("Please select a Plot Type before exiting."));

    m_owner.setCurrentRow(1);
    GraphEditorDialog& second = open();
    EXPECT_EQ(List(second, "graphType")->currentText(), QStringLiteral("Pie Meter"));
    // An empty name selects by an empty prefix: the first entry.
    EXPECT_EQ(List(second, "characteristic")->currentText(), QStringLiteral("Fixed"));
}

TEST_F(GraphEditorTest, BadSectionsOpenAndSaveWithoutHarm)
{
    std::string keys;
    for (int k = 0; k < 10000; ++k)
        keys += "K" + std::to_string(k) + "=" + std::to_string(k) + "\r\n";
    const std::string longTitle(5000, 'T');
    const std::string bytes = std::string("Na\0me\xff", 6);
    writeDisplay("[W1]\r\nT=" + longTitle + "\r\nP=Meter\r\nWC=Nothing\r\nR=1a 2 x3\r\nM1=" + bytes + "\r\nWB=-7\r\n"
                     "DC1=300\r\nGF=,,,\r\nLF=Arial\r\nTF=,14\r\nA2=,,,\r\nA3=1\r\nAH=\r\n" + keys,
                 {QString::fromLatin1(longTitle.substr(0, 99).c_str())}, 0);
    GraphEditorDialog& dialog = open();
    EXPECT_EQ(Text(dialog, "graphTitle").size(), 99);
    EXPECT_EQ(Text(dialog, "sizeX"), QStringLiteral("1"));
    EXPECT_EQ(Text(dialog, "sizeY"), QStringLiteral("300"));
    EXPECT_EQ(List(dialog, "windowBackground")->currentIndex(), -1);
    EXPECT_EQ(List(dialog, "dataColour1")->currentIndex(), -1);
    EXPECT_EQ(List(dialog, "gridFont")->currentText(), QStringLiteral("Arial"));
    EXPECT_EQ(List(dialog, "titleSize")->currentText(), QStringLiteral("14"));
    EXPECT_EQ(Measurements(dialog).count(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(dialog.preview()->buildCount() > 0, kWaitTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.preview()->isRebuildPending(), kWaitTimeoutMs);

    PickType(dialog, kTimeHistory);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.preview()->isRebuildPending(), kWaitTimeoutMs);
    EXPECT_EQ(press("Ok"), -1);
    EXPECT_EQ(m_messages.boxes().back().text, QStringLiteral("Please select a Window Characteristic before exiting."));
    List(dialog, "characteristic")->setCurrentIndex(0);
    EXPECT_EQ(press("Ok"), 1);
    EXPECT_EQ(read("W1", "WB"), "<absent>");
    EXPECT_EQ(read("W1", "M1"), bytes);
    EXPECT_EQ(read("W1", "R"), "1 300 300 300");
    EXPECT_EQ(read("W1", "K9999"), "<absent>");
}

TEST_F(GraphEditorTest, EveryControlHasACaptionAsItsNameAndTabReachesItInReadingOrder)
{
    writeDisplay(kTwoGraphs, {"Flow", "Level"}, 0);
    GraphEditorDialog& dialog = open();
    QList<QWidget*> controls;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget) || qobject_cast<QCheckBox*>(widget)
            || qobject_cast<QListWidget*>(widget))
            controls << widget;
    }
    ASSERT_GT(controls.size(), 60);
    for (QWidget* control : controls)
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
    EXPECT_EQ(Child<QLineEdit>(dialog, "sizeWidth")->accessibleName(), QStringLiteral("Width:"));
    EXPECT_EQ(Child<QComboBox>(dialog, "dataColour3")->accessibleName(), QStringLiteral("#3:"));
    EXPECT_EQ(Child<QCheckBox>(dialog, "alarmCheck5")->accessibleName(), QStringLiteral("Low Low"));
    EXPECT_EQ(Child<QPushButton>(dialog, "Ok")->text(), QStringLiteral("Ok"));

    // The Tab chain from the title visits the columns top to bottom.
    const QStringList expected{"graphTitle", "graphType", "characteristic", "sizeX", "sizeY", "sizeWidth",
                               "sizeHeight", "updateRate", "measurements", "addMeasurement", "editMeasurement",
                               "deleteMeasurement", "dataColour1", "dataColour2"};
    QWidget* at = Child<QLineEdit>(dialog, "graphTitle");
    QStringList visited;
    for (int step = 0; step < expected.size(); ++step) {
        visited << at->objectName();
        do {
            at = at->nextInFocusChain();
        } while (!(at->focusPolicy() & Qt::TabFocus) || !at->isEnabled() || !at->isVisible());
    }
    // Edit and Delete are disabled without a selection, so Tab skips them.
    QStringList reachable = expected;
    reachable.removeAll(QStringLiteral("editMeasurement"));
    reachable.removeAll(QStringLiteral("deleteMeasurement"));
    reachable << "dataColour3" << "dataColour4";
    EXPECT_EQ(visited, reachable);
}

TEST_F(GraphEditorTest, AlarmValuesThatAreNoNumberAreMarkedAsTheyAreTyped)
{
    writeDisplay("[W1]\r\nT=G\r\nP=TimeHistory\r\nM1=Alpha\r\nA2=1,12,Hi,abc\r\n", {"G"}, 0);
    GraphEditorDialog& dialog = open();
    QLineEdit* high = Child<QLineEdit>(dialog, QStringLiteral("alarmValue2"));
    const QString note = QStringLiteral("Not a number: this value is read as 0");
    EXPECT_EQ(high->toolTip(), note);
    EXPECT_EQ(high->accessibleDescription(), note);
    const struct {
        const char* text;
        bool marked;
    } cases[] = {{"12.5", false}, {" -3e2", false}, {"", false}, {"7 volts", false}, {"x1", true}, {"-", true}};
    QLineEdit* hysteresis = Child<QLineEdit>(dialog, QStringLiteral("lowHighHysteresis"));
    for (const auto& each : cases) {
        hysteresis->setText(QString::fromLatin1(each.text));
        EXPECT_EQ(hysteresis->toolTip().isEmpty(), !each.marked) << each.text;
    }
}

TEST_F(GraphEditorTest, HelpOpensTheEditorsTopicAndTheSelectionsPopUp)
{
    writeDisplay(kTwoGraphs, {"Flow", "Level"}, 0);
    GraphEditorDialog& dialog = open();
    ClickButton(dialog, "Help");
    ASSERT_NE(app::CurrentHelpWindow(), nullptr);
    EXPECT_EQ(app::CurrentHelpWindow()->page(), app::HelpTopicUrl(app::kHelpGraphDefinition));

    Measurements(dialog).setCurrentRow(0);
    OnNextModalDialog(QString::fromLatin1(MeasurementSelectionDialog::kCaption), [](QDialog& selection) {
        ClickButton(selection, "Help");
        ASSERT_NE(app::CurrentHelpPopup(), nullptr);
        EXPECT_EQ(app::CurrentHelpPopup()->browser()->source(), app::HelpTopicUrl(app::kHelpMeasurementSelection));
        ClickButton(selection, "Cancel");
    });
    ClickButton(dialog, "editMeasurement");
    EXPECT_FALSE(dialog.isModified());
}

TEST_F(GraphEditorTest, ItsHelpTopicShowsAPictureOfTheDialog)
{
    QFile page(app::HelpResourcePath(app::HelpTopicUrl(app::kHelpGraphDefinition)));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray html = page.readAll();
    EXPECT_TRUE(html.contains("<img src=\"edit-graph.png\""));
    const QImage picture(app::HelpResourcePath(app::HelpTopicUrl(app::kHelpGraphDefinition).resolved(
        QUrl(QStringLiteral("edit-graph.png")))));
    EXPECT_GT(picture.width(), 600);
}

}  // namespace
}  // namespace vexa::test
