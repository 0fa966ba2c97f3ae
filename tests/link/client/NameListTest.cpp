#include "link/client/NameList.h"

#include "link/protocol/WireFormat.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QListWidget>

#include <string>
#include <vector>

namespace vexa::link {
namespace {

const QString kListFullText = QStringLiteral("Unable to add more measurement names to list");
const QString kListFullCaption = QStringLiteral("Maximum Number Of Measurements Exceeded");
const QString kTooManyText =
    QStringLiteral("Too many names were found in the MVX file. Unable to load all measurement names.");
const QString kTooManyCaption = QStringLiteral("Error Loading Measurement Names");

/// The names of the list, in order.
std::vector<QByteArray> Names(const LayoutBlock& layout)
{
    std::vector<QByteArray> names;
    for (int i = 0; i < layout.count(); ++i)
        names.push_back(layout.name(i));
    return names;
}

/// Fills the list with \p count names "N1", "N2", ….
void FillList(LayoutBlock& layout, int count)
{
    for (int i = 0; i < count; ++i)
        layout.setName(i, "N" + QByteArray::number(i + 1));
    layout.setCount(count);
}

class NameListTest : public ::testing::Test {
protected:
    /// Writes the display file and returns its path.
    std::string display(const std::string& text)
    {
        const std::string path = m_scratch.path("plant.dsp");
        test::WriteFileBytes(path, text);
        return path;
    }

    test::ScratchDir m_scratch;
    test::ScriptedMessages m_messages;
    LayoutBlock m_layout{kDisplayLayoutNames};
};

TEST_F(NameListTest, ResetClearsTheNamesAndKeepsTheMeasurementPathCut)
{
    FillList(m_layout, 3);
    const std::string longPath = "/plant/" + std::string(300, 'p') + ".mvx";
    ResetNameList(m_layout, longPath);
    EXPECT_EQ(m_layout.count(), 0);
    EXPECT_TRUE(m_layout.name(0).isEmpty());
    EXPECT_EQ(m_layout.path().toStdString(), longPath.substr(0, kMaxPathLength));
}

TEST_F(NameListTest, GraphNamesEndAtTheFirstGap)
{
    const std::string file = display("[W1]\r\nT=Pressures\r\nM1=P1\r\nM2=P2\r\nM4=P4\r\n");
    EXPECT_EQ(AddGraphNames(nullptr, m_layout, 1, file), kNamesGrew);
    EXPECT_EQ(Names(m_layout), (std::vector<QByteArray>{"P1", "P2"}));
}

TEST_F(NameListTest, GraphNamesAreCutAtThirtyTwoCharacters)
{
    const std::string longName(40, 'x');
    const std::string file = display("[W1]\r\nM1=" + longName + "\r\n");
    EXPECT_EQ(AddGraphNames(nullptr, m_layout, 1, file), kNamesGrew);
    EXPECT_EQ(Names(m_layout), (std::vector<QByteArray>{QByteArray(kMaxNameLength, 'x')}));
}

TEST_F(NameListTest, SharedNamesAreAddedOnceAndCaseMakesNamesDifferent)
{
    const std::string file = display("[W1]\r\nM1=Flow\r\nM2=Temp\r\n"
                                     "[W2]\r\nM1=Temp\r\nM2=flow\r\nM3=Flow\r\n"
                                     "[W3]\r\nM1=Temp\r\n"
                                     "[W4]\r\nT=No names\r\n");
    EXPECT_EQ(AddGraphNames(nullptr, m_layout, 1, file), kNamesGrew);
    EXPECT_EQ(AddGraphNames(nullptr, m_layout, 2, file), kNamesGrew);
    // Everything of graph 3 is in the list already, so nothing need be sent.
    EXPECT_EQ(AddGraphNames(nullptr, m_layout, 3, file), kNoNewNames);
    EXPECT_EQ(AddGraphNames(nullptr, m_layout, 4, file), kNoNewNames);
    EXPECT_EQ(Names(m_layout), (std::vector<QByteArray>{"Flow", "Temp", "flow"}));
    EXPECT_EQ(NameIndex(m_layout, "Temp"), 1);
    EXPECT_EQ(NameIndex(m_layout, "flow"), 2);
    EXPECT_EQ(NameIndex(m_layout, "FLOW"), -1);
    EXPECT_TRUE(m_messages.calls().empty());
}

TEST_F(NameListTest, AFullListTakesTheNamesThatFitThenRefusesWithTheBox)
{
    const std::string file = display("[W1]\r\nM1=New1\r\nM2=New2\r\nM3=New3\r\n"
                                     "[W2]\r\nM1=N5\r\nM2=New1\r\n");
    FillList(m_layout, kMaxListNames - 1);

    EXPECT_EQ(AddGraphNames(nullptr, m_layout, 1, file), kNamesFull);
    EXPECT_EQ(m_layout.count(), kMaxListNames);
    EXPECT_EQ(m_layout.name(kMaxListNames - 1), "New1");
    EXPECT_EQ(NameIndex(m_layout, "New2"), -1);
    ASSERT_EQ(m_messages.calls().size(), 2u);
    EXPECT_TRUE(m_messages.calls()[0].isBeep);
    const MessageRequest& box = m_messages.calls()[1].request;
    EXPECT_EQ(box.text, kListFullText);
    EXPECT_EQ(box.caption, kListFullCaption);
    EXPECT_EQ(box.icon, MessageIcon::Stop);

    // A graph whose names are all present opens even on a full list.
    m_messages.clear();
    EXPECT_EQ(AddGraphNames(nullptr, m_layout, 2, file), kNoNewNames);
    EXPECT_TRUE(m_messages.calls().empty());
}

TEST_F(NameListTest, FindGraphByTitleTakesTheFirstExactMatchAcrossGaps)
{
    const std::string file = display("[W1]\r\nT=Flows\r\n"
                                     "[W3]\r\nT=Temps\r\n"
                                     "[W4]\r\nT=Temps\r\n"
                                     "[W60]\r\nT=Last\r\n"
                                     "[W61]\r\nT=Beyond\r\n");
    const struct {
        std::string title;
        int graph;
    } cases[] = {
        {"Flows", 1}, {"Temps", 3}, {"temps", 0}, {"Last", 60}, {"Beyond", 0}, {"", 0}, {"Missing", 0},
    };
    for (const auto& each : cases)
        EXPECT_EQ(FindGraphByTitle(each.title, file), each.graph) << each.title;
}

TEST_F(NameListTest, ViewNamesComeFromTheFirstGraphOfEachTitleUpToTheFirstEmptyEntry)
{
    const std::string file = display("[W1]\r\nT=First\r\nM1=a\r\n"
                                     "[W2]\r\nT=Second\r\nM1=b\r\nM2=a\r\n"
                                     "[W3]\r\nT=Second\r\nM1=shadowed\r\n"
                                     "[W4]\r\nT=Third\r\nM1=c\r\n"
                                     "[V1]\r\nT=Plant\r\nW1=Second\r\nW2=Nowhere\r\nW3=First\r\nW5=Third\r\n"
                                     "[V2]\r\nT=Again\r\nW1=First\r\nW2=Nowhere\r\n"
                                     "[V3]\r\nT=Unknown only\r\nW1=Nowhere\r\n");
    EXPECT_EQ(AddViewNames(nullptr, m_layout, 1, file), kNamesGrew);
    EXPECT_EQ(Names(m_layout), (std::vector<QByteArray>{"b", "a"}));
    EXPECT_EQ(AddViewNames(nullptr, m_layout, 2, file), kNoNewNames);
    EXPECT_EQ(AddViewNames(nullptr, m_layout, 3, file), kNoNewNames);
    EXPECT_EQ(AddViewNames(nullptr, m_layout, 4, file), kNoNewNames);
    EXPECT_EQ(m_layout.count(), 2);
}

TEST_F(NameListTest, AViewStopsAtTheFirstGraphThatFindsTheListFull)
{
    const std::string file = display("[W1]\r\nT=Big\r\nM1=x1\r\nM2=x2\r\n"
                                     "[W2]\r\nT=Small\r\nM1=y1\r\n"
                                     "[V1]\r\nW1=Big\r\nW2=Small\r\n");
    FillList(m_layout, kMaxListNames - 1);
    EXPECT_EQ(AddViewNames(nullptr, m_layout, 1, file), kNamesFull);
    EXPECT_EQ(m_layout.count(), kMaxListNames);
    EXPECT_EQ(m_layout.name(kMaxListNames - 1), "x1");
    // One refusal only: the second graph is not looked at.
    EXPECT_EQ(m_messages.boxes().size(), 1u);
    EXPECT_EQ(m_messages.beepCount(), 1);
}

/// A measurement file of \p count sections named with \p nameLength
/// characters each (distinct by their digits), and a last one of \p lastLength.
std::string MeasurementFile(int count, int nameLength, int lastLength)
{
    std::string text;
    auto add = [&text](int index, int length) {
        std::string name = std::to_string(index);
        name.insert(0, std::string(std::size_t(length) - name.size(), 'm'));
        text += "[" + name + "]\r\nU=psi\r\n";
    };
    for (int i = 0; i < count; ++i)
        add(i, nameLength);
    add(count, lastLength);
    return text;
}

TEST_F(NameListTest, MeasurementNamesThatOverflowTheBufferAreWarnedAboutAndLeftOut)
{
    // 1985 names of 32 characters take 65505 of the 65533 characters that
    // names and their NULs may fill; the last name decides.
    constexpr int kFullNames = 1985;
    const struct {
        int lastLength;
        bool warned;
        int names;
    } cases[] = {
        {25, false, kFullNames + 1},  // 65531: room to spare
        {26, true, kFullNames + 1},   // 65532: fits, but the length reads as a full buffer
        {27, true, kFullNames + 1},   // 65533: fits exactly
        {28, true, kFullNames},       // would need 65534: left out
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.lastLength);
        const std::string mvx = m_scratch.path("m" + std::to_string(each.lastLength) + ".mvx");
        test::WriteFileBytes(mvx, MeasurementFile(kFullNames, kMaxNameLength, each.lastLength));
        m_messages.clear();

        const QStringList names = ReadNamesFromMvx(nullptr, mvx);
        ASSERT_EQ(names.size(), each.names);
        EXPECT_EQ(names.front().size(), kMaxNameLength);
        EXPECT_TRUE(names.front().endsWith(QStringLiteral("m0")));
        EXPECT_TRUE(names.last().endsWith(QString::number(names.size() - 1)));
        ASSERT_EQ(m_messages.boxes().size(), each.warned ? 1u : 0u);
        if (each.warned) {
            const MessageRequest box = m_messages.boxes().front();
            EXPECT_EQ(box.text, kTooManyText);
            EXPECT_EQ(box.caption, kTooManyCaption);
            EXPECT_EQ(box.icon, MessageIcon::Exclamation);
        }
    }
}

TEST_F(NameListTest, MeasurementNamesAreListedInFileOrderAsWindows1252)
{
    const std::string mvx = m_scratch.path("plant.mvx");
    test::WriteFileBytes(mvx, "[Zeta]\r\nU=psi\r\n[Alpha]\r\n[Caf\xE9 \x80]\r\nU=EUR\r\n");
    QListWidget list;
    list.addItem(QStringLiteral("kept"));
    LoadNamesFromMvx(list, mvx);
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.item(0)->text(), QStringLiteral("kept"));
    EXPECT_EQ(list.item(1)->text(), QStringLiteral("Zeta"));
    EXPECT_EQ(list.item(2)->text(), QStringLiteral("Alpha"));
    EXPECT_EQ(list.item(3)->text(), QStringLiteral("Caf\u00E9 \u20AC"));
    EXPECT_TRUE(m_messages.calls().empty());
}

}  // namespace
}  // namespace vexa::link
