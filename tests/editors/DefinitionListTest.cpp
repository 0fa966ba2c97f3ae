#include "EditorTestSupport.h"

#include "document/ProfileStore.h"
#include "editors/DefinitionListDialog.h"
#include "editors/ViewEditorDialog.h"
#include "editors/graph/GraphEditorDialog.h"
#include "platform/AnsiText.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace vexa::test {
namespace {

using editors::DefinitionKind;
using editors::DefinitionListDialog;

/// \p graphs graphs "G1", "G2", …; views "Both" (G3, G5) and "Three" (G3).
std::string DisplayFile(int graphs, const std::string& firstTitle = "G1")
{
    std::string file;
    for (int n = 1; n <= graphs; ++n) {
        const std::string title = n == 1 ? firstTitle : "G" + std::to_string(n);
        file += "[W" + std::to_string(n) + "]\r\nT=" + title + "\r\nP=Meter\r\nM1=X" + std::to_string(n) + "\r\n";
    }
    file += "[V1]\r\nT=Both\r\nW1=G3\r\nW2=G5\r\n[V2]\r\nT=Three\r\nW1=G3\r\n";
    return file;
}

QStringList Entries(const QListWidget& list)
{
    QStringList texts;
    for (int row = 0; row < list.count(); ++row)
        texts << list.item(row)->text();
    return texts;
}

class DefinitionList : public EditorTest {
protected:
    std::unique_ptr<DefinitionListDialog> openList(DefinitionKind kind, const std::string& display)
    {
        m_scratch = writeWorkingCopy("VEXATMP.TMP", display);
        profile::Flush(m_scratch);
        return std::make_unique<DefinitionListDialog>(nullptr, kind, m_scratch, m_dir.path("VEXAMVX.TMP"), [this] {
            ++m_commits;
            return true;
        });
    }
    std::string read(const std::string& section, const char* key) const
    {
        return profile::ReadString(section, key, "<absent>", m_scratch);
    }

    std::string m_scratch;
    int m_commits = 0;
};

TEST_F(DefinitionList, CaptionsFollowTheKind)
{
    for (DefinitionKind kind : {DefinitionKind::Graphs, DefinitionKind::Views}) {
        auto list = openList(kind, DisplayFile(3));
        const bool graphs = kind == DefinitionKind::Graphs;
        EXPECT_EQ(list->windowTitle(), graphs ? "Select Graph" : "Edit View");
        EXPECT_EQ(list->list()->accessibleName(), graphs ? "Defined Graphs" : "Defined Views");
        EXPECT_EQ(Entries(*list->list()), graphs ? QStringList({"G1", "G2", "G3"}) : QStringList({"Both", "Three"}));
    }
}

TEST_F(DefinitionList, ButtonStatesFollowTheCountAndTheSelection)
{
    struct Case {
        int graphs;
        bool selected;
        bool add, edit, duplicate;
    };
    const Case cases[]{
        {60, true, false, true, false}, {59, true, true, true, false}, {58, true, true, true, true},
        {58, false, true, false, false}, {0, false, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.graphs);
        auto list = openList(DefinitionKind::Graphs, DisplayFile(c.graphs));
        ASSERT_EQ(list->list()->count(), c.graphs);
        if (c.selected)
            list->list()->setCurrentRow(0);
        EXPECT_EQ(ButtonOf(*list, "Add").isEnabled(), c.add);
        EXPECT_EQ(ButtonOf(*list, "Edit").isEnabled(), c.edit);
        EXPECT_EQ(ButtonOf(*list, "Delete").isEnabled(), c.edit);
        EXPECT_EQ(ButtonOf(*list, "Duplicate").isEnabled(), c.duplicate);
    }
}

TEST_F(DefinitionList, DuplicateAppendsACopyUnderTheFirstFreeNumberedTitle)
{
    struct Case {
        std::string title;
        std::string extra;  // an existing title
        std::string copy;
    };
    const std::string longTitle(99, 'L');
    const Case cases[]{
        {"Pressure", "G2", "Pressure(1)"},
        {"Pressure", "Pressure(1)", "Pressure(2)"},
        {longTitle, "G2", std::string(95, 'L') + "(1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.copy);
        std::string display = DisplayFile(3, c.title);
        display += "[W4]\r\nT=" + c.extra + "\r\n";
        auto list = openList(DefinitionKind::Graphs, display);
        list->list()->setCurrentRow(0);
        list->duplicate();
        EXPECT_TRUE(list->isModified());
        ASSERT_EQ(list->list()->count(), 5);
        EXPECT_EQ(list->list()->currentRow(), 4);
        EXPECT_EQ(list->list()->item(4)->text(), FromAnsi(c.copy));
        EXPECT_EQ(read("W5", "T"), c.copy);
        EXPECT_EQ(read("W5", "M1"), "X1");
    }
}

TEST_F(DefinitionList, DeletingGraphThreeOfFiveRenumbersAndCleansTheViews)
{
    auto list = openList(DefinitionKind::Graphs, DisplayFile(5));
    list->list()->setCurrentRow(2);
    m_messages.script({MessageAnswer::Yes});
    list->remove();
    ExpectBoxes(m_messages, {{"Delete this entry?", "Delete Graph", MessageIcon::Question}});
    EXPECT_EQ(Entries(*list->list()), (QStringList{"G1", "G2", "G4", "G5"}));
    EXPECT_EQ(list->list()->currentRow(), 2);
    EXPECT_EQ(read("W3", "T"), "G4");
    EXPECT_EQ(read("W4", "T"), "G5");
    EXPECT_EQ(read("W4", "M1"), "X5");
    EXPECT_EQ(read("W5", "T"), "<absent>");
    EXPECT_EQ(read("V1", "W1"), "G5");
    EXPECT_EQ(read("V1", "W2"), "<absent>");
    EXPECT_EQ(read("V2", "W1"), "<absent>");
    EXPECT_EQ(read("V2", "T"), "Three");

    // The last entry gone, the one before it is selected.
    list->list()->setCurrentRow(3);
    m_messages.script({MessageAnswer::Yes});
    list->remove();
    EXPECT_EQ(list->list()->currentRow(), 2);
}

TEST_F(DefinitionList, DeletingAViewTouchesNoGraphAndNoIsKept)
{
    auto list = openList(DefinitionKind::Views, DisplayFile(5));
    const std::string graphsBefore = read("W3", "T") + read("W5", "T");
    list->list()->setCurrentRow(0);
    m_messages.script({MessageAnswer::No});
    list->remove();
    EXPECT_FALSE(list->isModified());
    m_messages.script({MessageAnswer::Yes});
    list->remove();
    EXPECT_EQ(m_messages.boxes().back().caption, "Delete View");
    EXPECT_EQ(Entries(*list->list()), QStringList{"Three"});
    EXPECT_EQ(read("V1", "T"), "Three");
    EXPECT_EQ(read("V2", "T"), "<absent>");
    EXPECT_EQ(read("W3", "T") + read("W5", "T"), graphsBefore);
}

TEST_F(DefinitionList, AddThenCancelLeavesNoBlankEntry)
{
    {
        auto list = openList(DefinitionKind::Graphs, DisplayFile(2));
        DriveModal<editors::GraphEditorDialog>([](editors::GraphEditorDialog& editor) {
            ButtonOf(editor, "Cancel").click();
        });
        list->add();
        EXPECT_EQ(Entries(*list->list()), (QStringList{"G1", "G2"}));
        EXPECT_FALSE(list->isModified());
    }
    auto list = openList(DefinitionKind::Views, DisplayFile(2));
    DriveModal<editors::ViewEditorDialog>([](editors::ViewEditorDialog& editor) {
        EXPECT_EQ(editor.titleBox()->text(), "");
        ButtonOf(editor, "Cancel").click();
    });
    list->add();
    EXPECT_EQ(Entries(*list->list()), (QStringList{"Both", "Three"}));
}

TEST_F(DefinitionList, AnAddedViewIsTheNextSectionAndItsTitleJoinsTheList)
{
    // A section behind the last titled view lends the new one nothing.
    auto list = openList(DefinitionKind::Views, DisplayFile(3) + "[V3]\r\nW1=G1\r\nR1=1 2 3 4\r\n");
    DriveModal<editors::ViewEditorDialog>([](editors::ViewEditorDialog& editor) {
        EXPECT_TRUE(editor.graphList()->selectedItems().isEmpty());
        editor.titleBox()->setText("New");
        emit editor.titleBox()->textEdited("New");
        editor.graphList()->item(1)->setSelected(true);
        ButtonOf(editor, "Ok").click();
    });
    list->add();
    EXPECT_TRUE(list->isModified());
    EXPECT_EQ(Entries(*list->list()), (QStringList{"Both", "Three", "New"}));
    EXPECT_EQ(read("V3", "T"), "New");
    EXPECT_EQ(read("V3", "W1"), "G2");
    EXPECT_EQ(read("V3", "R1"), "<absent>");
}

TEST_F(DefinitionList, OkHandsBackOnlyAfterAChange)
{
    for (bool change : {false, true}) {
        m_commits = 0;
        auto list = openList(DefinitionKind::Views, DisplayFile(3));
        if (change) {
            list->list()->setCurrentRow(1);
            list->duplicate();
        }
        ButtonOf(*list, "Ok").click();
        ButtonOf(*list, "Ok").click();
        EXPECT_EQ(m_commits, change ? 1 : 0);
        EXPECT_EQ(list->result(), change ? 1 : 0);
    }
}

TEST_F(DefinitionList, BadFileContentsOpenEditAndDuplicate)
{
    // A view of 10,000 keys, titles of 5,000 characters, NUL and 0xFF bytes.
    std::string display = "[W1]\r\nT=" + std::string(5000, 'T') + "\r\n";
    display += std::string("[W2]\r\nT=Odd\xFF\0Name\r\n", 19);
    display += "[V1]\r\nT=" + std::string(5000, 'V') + "\r\n";
    for (int key = 1; key <= 10000; ++key)
        display += "K" + std::to_string(key) + "=" + std::to_string(key) + "\r\n";
    display += "W1=" + std::string(5000, 'T') + "\r\n";
    auto list = openList(DefinitionKind::Views, display);
    ASSERT_EQ(list->list()->count(), 1);
    // Titles are read as the 99 characters they may hold.
    EXPECT_EQ(list->list()->item(0)->text(), QString(99, QLatin1Char('V')));
    list->list()->setCurrentRow(0);
    list->duplicate();
    EXPECT_EQ(read("V2", "K10000"), "10000");
    EXPECT_EQ(read("V2", "T"), std::string(95, 'V') + "(1)");

    DriveModal<editors::ViewEditorDialog>([](editors::ViewEditorDialog& editor) {
        ASSERT_EQ(editor.graphList()->count(), 2);
        EXPECT_EQ(editor.graphList()->item(0)->text().size(), 99);
        // The long entry names the graph by its cut title.
        EXPECT_TRUE(editor.graphList()->item(0)->isSelected());
        editor.graphList()->item(1)->setSelected(true);
        ButtonOf(editor, "Ok").click();
    });
    list->list()->setCurrentRow(1);
    list->edit();
    EXPECT_EQ(read("V2", "W2"), std::string("Odd\xFF\0Name", 9));
}

class DefinitionRun : public EditorTest {};

TEST_F(DefinitionRun, TheListsRefuseALeftOverScratchCopyWithTheirOwnText)
{
    const std::string working = writeWorkingCopy("VEXADSP.TMP", DisplayFile(2));
    struct Case {
        DefinitionKind kind;
        const char* refusal;
    };
    for (const Case& c : {Case{DefinitionKind::Graphs, "This file must be removed before you can edit graph definitions."},
                          Case{DefinitionKind::Views, "This file must be removed before you can edit view definitions."}}) {
        m_messages.clear();
        WriteFileBytes(scratchPath(), "left over");
        m_messages.script({MessageAnswer::No});
        const int result = c.kind == DefinitionKind::Graphs ? editors::EditGraphDefinitions(nullptr, working, {})
                                                            : editors::EditViewDefinitions(nullptr, working);
        EXPECT_EQ(result, 0);
        ASSERT_EQ(m_messages.boxes().size(), 2U);
        EXPECT_EQ(m_messages.boxes()[1].text, c.refusal);
        EXPECT_EQ(m_messages.boxes()[1].caption, "VEXA-Display Error");
        EXPECT_EQ(ReadFileBytes(scratchPath()), "left over");
    }
}

TEST_F(DefinitionRun, OkAfterAChangeReplacesTheWorkingCopyAndTheScratchCopyGoes)
{
    const std::string working = writeWorkingCopy("VEXADSP.TMP", DisplayFile(2));
    DriveModal<DefinitionListDialog>([](DefinitionListDialog& list) {
        list.list()->setCurrentRow(0);
        list.duplicate();
        ButtonOf(list, "Ok").click();
    });
    EXPECT_EQ(editors::EditViewDefinitions(nullptr, working), 1);
    EXPECT_EQ(profile::ReadString("V3", "T", "", working), "Both(1)");
    EXPECT_FALSE(FileExists(scratchPath()));
}

}  // namespace
}  // namespace vexa::test
