#include "EditorTestSupport.h"

#include "document/ProfileStore.h"
#include "editors/ViewEditorDialog.h"
#include "platform/DialogConventions.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace vexa::test {
namespace {

using editors::ViewEditorDialog;

constexpr const char* kDisplay =
    "[W1]\r\nT=Alpha\r\n[W2]\r\nT=Beta\r\n[W3]\r\nT=Gamma\r\n[W4]\r\nT=Delta\r\n[W5]\r\nT=Epsilon\r\n"
    "[V1]\r\nT=Five\r\nW1=Alpha\r\nW2=beta\r\nW3=Gamma\r\nW4=Delta\r\nW5=Epsilon\r\nR1=1 2 3 4\r\n"
    "[V2]\r\nT=Ghost\r\nW1=Nothing\r\nW2=Gamma\r\n"
    "[V3]\r\nT=Gap\r\nW1=Alpha\r\nW3=Delta\r\n";

QStringList Selected(const QListWidget& list)
{
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->isSelected())
            texts << list.item(row)->text();
    }
    return texts;
}

class ViewEditor : public EditorTest {
protected:
    void SetUp() override
    {
        m_scratch = writeWorkingCopy("VEXATMP.TMP", kDisplay);
        m_owner.addItems({"Five", "Ghost", "Gap"});
    }

    /// Runs the editor on view \p row of the owner with \p drive.
    int run(int row, std::function<void(ViewEditorDialog&)> drive)
    {
        m_owner.setCurrentRow(row);
        DriveModal<ViewEditorDialog>(std::move(drive));
        return editors::EditView(m_owner, m_scratch);
    }

    std::string read(const char* section, const char* key) const
    {
        return profile::ReadString(section, key, "<absent>", m_scratch);
    }

    std::string m_scratch;
    QListWidget m_owner;
};

TEST_F(ViewEditor, OpensWithTheGraphsTheViewOpens)
{
    struct Case {
        int row;
        QString title;
        QStringList selected;
    };
    const Case cases[]{
        // Matched without regard to case.
        {0, "Five", {"Alpha", "Beta", "Gamma", "Delta", "Epsilon"}},
        // An entry that names no graph selects nothing.
        {1, "Ghost", {"Gamma"}},
        // Entries behind a gap open with the view, so they are shown too.
        {2, "Gap", {"Alpha", "Delta"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(run(c.row,
                      [&](ViewEditorDialog& editor) {
                          EXPECT_EQ(editor.titleBox()->text(), c.title);
                          EXPECT_EQ(editor.graphList()->count(), 5);
                          EXPECT_EQ(Selected(*editor.graphList()), c.selected);
                          // Unchanged, Ok writes nothing.
                          ButtonOf(editor, "Ok").click();
                      }),
                  0);
    }
    EXPECT_EQ(ReadFileBytes(m_scratch), kDisplay);
}

TEST_F(ViewEditor, SavingWritesTheSelectedGraphsDenselyInListOrder)
{
    EXPECT_EQ(run(0,
                  [](ViewEditorDialog& editor) {
                      editor.graphList()->item(1)->setSelected(false);
                      editor.graphList()->item(3)->setSelected(false);
                      ButtonOf(editor, "Ok").click();
                  }),
              1);
    EXPECT_EQ(read("V1", "W1"), "Alpha");
    EXPECT_EQ(read("V1", "W2"), "Gamma");
    EXPECT_EQ(read("V1", "W3"), "Epsilon");
    EXPECT_EQ(read("V1", "W4"), "<absent>");
    EXPECT_EQ(read("V1", "R1"), "1 2 3 4");

    // A dangling entry is dropped; a gap is closed.
    for (int row : {1, 2}) {
        EXPECT_EQ(run(row,
                      [](ViewEditorDialog& editor) {
                          editor.graphList()->item(4)->setSelected(true);
                          ButtonOf(editor, "Ok").click();
                      }),
                  1);
    }
    EXPECT_EQ(read("V2", "W1"), "Gamma");
    EXPECT_EQ(read("V2", "W2"), "Epsilon");
    EXPECT_EQ(read("V2", "W3"), "<absent>");
    EXPECT_EQ(read("V3", "W3"), "Epsilon");
    EXPECT_EQ(read("V3", "W4"), "<absent>");
}

TEST_F(ViewEditor, ATitleChangeShowsInTheOwnersList)
{
    EXPECT_EQ(run(1,
                  [](ViewEditorDialog& editor) {
                      editor.titleBox()->selectAll();
                      QTest::keyClicks(editor.titleBox(), "  Spirit ");
                      ButtonOf(editor, "Ok").click();
                  }),
              1);
    EXPECT_EQ(m_owner.item(1)->text(), "Spirit");
    EXPECT_EQ(m_owner.currentRow(), 1);
    EXPECT_EQ(read("V2", "T"), "Spirit");
}

TEST_F(ViewEditor, FailedChecksBeepShowTheirMessageAndWriteNothing)
{
    struct Case {
        const char* title;
        bool clearGraphs;
        const char* text;
        const char* caption;
    };
    const Case cases[]{
        {"", false, "Please enter a title for this view.", "Illegal View Title Entered"},
        {"   ", false, "Please enter a title for this view.", "Illegal View Title Entered"},
        {"Gap", false,
         "Please select another title for this view. This title is already in use by another view.",
         "Illegal View Title Entered"},
        {"Fresh", true, "Please select one or more graphs to be associated with this view.",
         "Unable To Save View Definition"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        m_messages.clear();
        run(0, [&](ViewEditorDialog& editor) {
            editor.titleBox()->selectAll();
            QTest::keyClick(editor.titleBox(), Qt::Key_Delete);
            QTest::keyClicks(editor.titleBox(), c.title);
            if (c.clearGraphs)
                editor.graphList()->clearSelection();
            ButtonOf(editor, "Ok").click();
            EXPECT_FALSE(editor.isFinished());
            m_messages.script({MessageAnswer::No});
            ButtonOf(editor, "Cancel").click();
        });
        ASSERT_EQ(m_messages.calls().size(), 4U);
        EXPECT_TRUE(m_messages.calls()[0].isBeep);
        ExpectBoxes(m_messages, {{c.text, c.caption, MessageIcon::Information},
                                 {kCancelDialogText, kCancelDialogCaption, MessageIcon::Question}});
        EXPECT_EQ(ReadFileBytes(m_scratch), kDisplay);
    }
    // A view may keep its own title; the test is against the other views,
    // and exact.
    EXPECT_EQ(run(0,
                  [](ViewEditorDialog& editor) {
                      editor.titleBox()->setText("gap");
                      emit editor.titleBox()->textEdited("gap");
                      ButtonOf(editor, "Ok").click();
                  }),
              1);
}

}  // namespace
}  // namespace vexa::test
