#include "EditorTestSupport.h"

#include "document/ProfileStore.h"
#include "editors/MeasurementDefinitionDialog.h"
#include "editors/MeasurementListDialog.h"
#include "platform/AnsiText.h"
#include "platform/DialogConventions.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <functional>

namespace vexa::test {
namespace {

using editors::MeasurementDefinitionDialog;
using editors::MeasurementListDialog;

constexpr const char* kMeasurements =
    "[Pump]\r\nL=-5\r\nH=55\r\nU=bar\r\nD=Pump pressure\r\nE=Coefficients\r\n"
    "0=1.5\r\n1=2\r\n2=0.25\r\n3=0\r\n4=0\r\n5=0\r\n6=7\r\n"
    "[flow]\r\nE=Raw\r\n"
    "[Alpha]\r\nE=coefficients\r\n";

QLineEdit& Box(QWidget& dialog, const char* caption)
{
    auto* box = dialog.findChild<QLineEdit*>(QString::fromLatin1(caption));
    if (box == nullptr)
        throw std::runtime_error(std::string("no box ") + caption);
    return *box;
}

QStringList Entries(const QListWidget& list)
{
    QStringList texts;
    for (int row = 0; row < list.count(); ++row)
        texts << list.item(row)->text();
    return texts;
}

void Select(QListWidget& list, const QString& text)
{
    const QList<QListWidgetItem*> found = list.findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    list.setCurrentItem(found.first());
}

/// Types \p text into \p box as a user would (it replaces what was there).
void Type(QLineEdit& box, const QString& text)
{
    box.selectAll();
    QTest::keyClick(&box, Qt::Key_Delete);
    QTest::keyClicks(&box, text);
}

class MeasurementEditor : public EditorTest {
protected:
    void SetUp() override { m_scratch = writeWorkingCopy("VEXATMP.TMP", kMeasurements); }

    /// The list over the scratch copy; Ok counts as a successful hand-back.
    std::unique_ptr<MeasurementListDialog> openList()
    {
        return std::make_unique<MeasurementListDialog>(nullptr, m_scratch, [this] {
            ++m_commits;
            return true;
        });
    }

    /// Runs the definition dialog from \p list's Add or Edit with \p drive.
    void runDefinition(const std::function<void()>& command, std::function<void(MeasurementDefinitionDialog&)> drive)
    {
        DriveModal<MeasurementDefinitionDialog>(std::move(drive));
        command();
    }

    std::string read(const char* section, const char* key) const
    {
        return profile::ReadString(section, key, "<absent>", m_scratch);
    }

    std::string m_scratch;
    int m_commits = 0;
};

TEST_F(MeasurementEditor, ListShowsTheSectionsSortedWithEditAndDeleteOnlyForASelection)
{
    auto list = openList();
    EXPECT_EQ(Entries(*list->list()), (QStringList{"Alpha", "flow", "Pump"}));
    EXPECT_FALSE(ButtonOf(*list, "Edit").isEnabled());
    EXPECT_FALSE(ButtonOf(*list, "Delete").isEnabled());
    EXPECT_TRUE(ButtonOf(*list, "Add").isEnabled());
    Select(*list->list(), "flow");
    EXPECT_TRUE(ButtonOf(*list, "Edit").isEnabled());
    EXPECT_TRUE(ButtonOf(*list, "Delete").isEnabled());
}

TEST_F(MeasurementEditor, DefinitionOpensWithTheDefaultsOrTheStoredKeys)
{
    struct Case {
        const char* entry;  // nullptr: Add
        std::vector<std::pair<const char*, const char*>> boxes;
        const char* conversion;
        bool coefficientsShown;
    };
    const std::vector<Case> cases{
        {nullptr,
         {{"Name", ""}, {"Minimum Value", "0.0"}, {"Maximum Value", "100.0"}, {"Units", ""},
          {"Measurement Description", ""}, {"Offset:", "0.0"}, {"1st:", "1.0"}, {"2nd:", "0.0"}, {"6th:", "0.0"}},
         "Raw", false},
        {"Pump",
         {{"Name", "Pump"}, {"Minimum Value", "-5"}, {"Maximum Value", "55"}, {"Units", "bar"},
          {"Measurement Description", "Pump pressure"}, {"Offset:", "1.5"}, {"1st:", "2"}, {"2nd:", "0.25"},
          {"6th:", "7"}},
         "Coefficients", true},
        {"flow",
         {{"Minimum Value", "0.0"}, {"Maximum Value", "100.0"}, {"Units", ""}, {"Offset:", "0.0"}, {"1st:", "0.0"}},
         "Raw", false},
        // Only the exact word selects a type; the user is asked to choose.
        {"Alpha", {{"Name", "Alpha"}}, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry != nullptr ? c.entry : "new");
        auto list = openList();
        if (c.entry != nullptr)
            Select(*list->list(), c.entry);
        runDefinition([&] { c.entry != nullptr ? list->edit() : list->add(); },
                      [&](MeasurementDefinitionDialog& dialog) {
                          for (const auto& [caption, text] : c.boxes)
                              EXPECT_EQ(Box(dialog, caption).text(), QString::fromLatin1(text)) << caption;
                          EXPECT_EQ(dialog.conversionList()->currentText(), QString::fromLatin1(c.conversion));
                          EXPECT_EQ(dialog.coefficientsFrame()->isVisible(), c.coefficientsShown);
                          dialog.reject();
                      });
    }
}

TEST_F(MeasurementEditor, OkWithoutTypingClosesWithZeroAndWritesNothing)
{
    const std::string before = ReadFileBytes(m_scratch);
    for (const char* entry : {"", "Pump"}) {
        SCOPED_TRACE(entry);
        auto list = openList();
        if (*entry != 0)
            Select(*list->list(), entry);
        const QStringList entries = Entries(*list->list());
        int result = -1;
        DriveModal<MeasurementDefinitionDialog>([](MeasurementDefinitionDialog& dialog) { ButtonOf(dialog, "Ok").click(); });
        result = editors::EditMeasurement(*list->list(), m_scratch);
        EXPECT_EQ(result, 0);
        EXPECT_EQ(Entries(*list->list()), entries);
    }
    EXPECT_EQ(ReadFileBytes(m_scratch), before);
    EXPECT_TRUE(m_messages.calls().empty());
}

TEST_F(MeasurementEditor, ANewMeasurementIsRawWithoutCoefficientKeysAndJoinsTheSortedList)
{
    auto list = openList();
    runDefinition([&] { list->add(); }, [](MeasurementDefinitionDialog& dialog) {
        Type(Box(dialog, "Name"), "Level");
        Type(Box(dialog, "Units"), "m");
        ButtonOf(dialog, "Ok").click();
    });
    EXPECT_TRUE(list->isModified());
    EXPECT_EQ(Entries(*list->list()), (QStringList{"Alpha", "flow", "Level", "Pump"}));
    EXPECT_EQ(list->list()->currentItem()->text(), "Level");
    EXPECT_EQ(read("Level", "E"), "Raw");
    EXPECT_EQ(read("Level", "L"), "0.0");
    EXPECT_EQ(read("Level", "H"), "100.0");
    EXPECT_EQ(read("Level", "U"), "m");
    for (const char* key : {"0", "1", "6"})
        EXPECT_EQ(read("Level", key), "<absent>") << key;
}

TEST_F(MeasurementEditor, SwitchingToRawDeletesTheCoefficientKeysAndBackWritesThem)
{
    auto list = openList();
    Select(*list->list(), "Pump");
    runDefinition([&] { list->edit(); }, [](MeasurementDefinitionDialog& dialog) {
        QComboBox& conversion = *dialog.conversionList();
        conversion.setCurrentIndex(conversion.findText("Raw"));
        emit conversion.activated(conversion.currentIndex());
        EXPECT_FALSE(dialog.coefficientsFrame()->isVisible());
        ButtonOf(dialog, "Ok").click();
    });
    EXPECT_EQ(read("Pump", "E"), "Raw");
    for (const char* key : {"0", "1", "2", "3", "4", "5", "6"})
        EXPECT_EQ(read("Pump", key), "<absent>") << key;
    EXPECT_EQ(read("Pump", "U"), "bar");

    runDefinition([&] { list->edit(); }, [](MeasurementDefinitionDialog& dialog) {
        QComboBox& conversion = *dialog.conversionList();
        conversion.setCurrentIndex(conversion.findText("Coefficients"));
        emit conversion.activated(conversion.currentIndex());
        EXPECT_TRUE(dialog.coefficientsFrame()->isVisible());
        Type(Box(dialog, "3rd:"), "abc");
        ButtonOf(dialog, "Ok").click();
    });
    // Stored as typed, without checking.
    EXPECT_EQ(read("Pump", "3"), "abc");
    EXPECT_EQ(read("Pump", "0"), "0.0");
}

TEST_F(MeasurementEditor, FailedChecksShowTheirMessageAndKeepTheDialogOpen)
{
    struct Case {
        const char* entry;
        const char* name;
        const char* text;
        const char* caption;
    };
    const std::vector<Case> cases{
        {nullptr, "", "You must first enter a measurement name before exiting.", "Illegal Value Entered"},
        {nullptr, "   ", "You must first enter a measurement name before exiting.", "Illegal Value Entered"},
        {"Alpha", "Alpha2", "Please select a data conversion type.", "Illegal value Entered"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_messages.clear();
        auto list = openList();
        if (c.entry != nullptr)
            Select(*list->list(), c.entry);
        const std::string before = ReadFileBytes(m_scratch);
        runDefinition([&] { c.entry != nullptr ? list->edit() : list->add(); },
                      [&](MeasurementDefinitionDialog& dialog) {
                          Type(Box(dialog, "Units"), "x");
                          Type(Box(dialog, "Name"), c.name);
                          ButtonOf(dialog, "Ok").click();
                          EXPECT_TRUE(dialog.isVisible());
                          EXPECT_FALSE(dialog.isFinished());
                          m_messages.script({MessageAnswer::No});
                          dialog.reject();
                      });
        ExpectBoxes(m_messages, {{c.text, c.caption, MessageIcon::Information},
                                 {kCancelDialogText, kCancelDialogCaption, MessageIcon::Question}});
        EXPECT_EQ(ReadFileBytes(m_scratch), before);
    }
}

TEST_F(MeasurementEditor, CancellingAddLeavesTheListAsItWasWithThePreviousEntrySelected)
{
    auto list = openList();
    Select(*list->list(), "flow");
    const QStringList entries = Entries(*list->list());
    runDefinition([&] { list->add(); }, [](MeasurementDefinitionDialog& dialog) {
        // Nothing is selected while a new measurement is defined.
        EXPECT_EQ(dialog.nameBox()->text(), "");
        ButtonOf(dialog, "Cancel").click();
    });
    EXPECT_EQ(Entries(*list->list()), entries);
    ASSERT_EQ(list->list()->selectedItems().size(), 1);
    EXPECT_EQ(list->list()->selectedItems().first()->text(), "flow");
    EXPECT_FALSE(list->isModified());
}

TEST_F(MeasurementEditor, RenamingDeletesTheOldSectionAndKeepsOneEntryPerName)
{
    struct Case {
        const char* entry;   // nullptr: Add
        const char* name;
        QStringList entries;
        const char* gone;    // section that no longer exists
    };
    const std::vector<Case> cases{
        {"Pump", "Booster", {"Alpha", "Booster", "flow"}, "Pump"},
        // Onto another defined name: that definition is written over, and
        // the list holds the name once.
        {"Pump", "FLOW", {"Alpha", "FLOW"}, "Pump"},
        // Added under a defined name: replaces that definition.
        {nullptr, "alpha", {"alpha", "flow", "Pump"}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(m_scratch, kMeasurements);
        profile::Flush(m_scratch);
        auto list = openList();
        if (c.entry != nullptr)
            Select(*list->list(), c.entry);
        runDefinition([&] { c.entry != nullptr ? list->edit() : list->add(); },
                      [&](MeasurementDefinitionDialog& dialog) {
                          Type(Box(dialog, "Name"), c.name);
                          if (dialog.conversionList()->currentIndex() < 0)
                              dialog.conversionList()->setCurrentIndex(0);
                          ButtonOf(dialog, "Ok").click();
                      });
        EXPECT_EQ(Entries(*list->list()), c.entries);
        EXPECT_EQ(list->list()->currentItem()->text(), QString::fromLatin1(c.name));
        if (c.gone != nullptr) {
            EXPECT_TRUE(profile::ListKeys(c.gone, m_scratch).empty());
        }
        EXPECT_NE(read(c.name, "E"), "<absent>");
    }
    // The names match without regard to case, as the file's sections do.
    EXPECT_EQ(read("alpha", "E"), "Raw");
}

TEST_F(MeasurementEditor, ValuesAreStoredWithAtMostFortyNineCharacters)
{
    auto list = openList();
    const QString longText(80, QLatin1Char('7'));
    runDefinition([&] { list->add(); }, [&](MeasurementDefinitionDialog& dialog) {
        Type(Box(dialog, "Name"), QString(40, QLatin1Char('N')));
        Box(dialog, "Maximum Value").setText(longText);
        Type(Box(dialog, "Units"), longText);
        ButtonOf(dialog, "Ok").click();
    });
    const std::string name(32, 'N');
    EXPECT_EQ(read(name.c_str(), "H"), std::string(49, '7'));
    EXPECT_EQ(read(name.c_str(), "U"), std::string(49, '7'));
}

TEST_F(MeasurementEditor, DeleteAsksAndRemovesTheSectionOnlyOnYes)
{
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        m_messages.clear();
        auto list = openList();
        Select(*list->list(), "Pump");
        m_messages.script({answer});
        list->remove();
        ExpectBoxes(m_messages, {{"Delete this entry?", "Delete Measurement", MessageIcon::Question}});
        const bool deleted = answer == MessageAnswer::Yes;
        EXPECT_EQ(Entries(*list->list()).contains("Pump"), !deleted);
        EXPECT_EQ(profile::ListKeys("Pump", m_scratch).empty(), deleted);
        EXPECT_EQ(list->isModified(), deleted);
    }
}

TEST_F(MeasurementEditor, BadFileContentsLoadAndRoundTrip)
{
    // 500 measurements, a 5,000-character name, NUL and 0xFF bytes in names.
    std::string file;
    for (int n = 1; n <= 500; ++n)
        file += "[M" + std::to_string(n) + "]\r\nL=" + std::string(5000, 'x') + "\r\n";
    file += "[" + std::string(5000, 'Q') + "]\r\nU=long\r\n";
    file += std::string("[Tank\xFF") + "]\r\nU=odd\r\n";
    file += std::string("[Nul\0Name]\r\nU=nul\r\n", 19);
    WriteFileBytes(m_scratch, file);
    profile::Flush(m_scratch);
    auto list = openList();
    EXPECT_EQ(list->list()->count(), 503);
    Select(*list->list(), FromAnsi("Tank\xFF"));
    runDefinition([&] { list->edit(); }, [](MeasurementDefinitionDialog& dialog) {
        EXPECT_EQ(Box(dialog, "Units").text(), "odd");
        Type(Box(dialog, "Units"), "gal");
        ButtonOf(dialog, "Ok").click();
    });
    EXPECT_EQ(read("Tank\xFF", "U"), "gal");
    Select(*list->list(), "M7");
    runDefinition([&] { list->edit(); }, [](MeasurementDefinitionDialog& dialog) {
        // Shown as much as the box holds; stored cut when saved.
        EXPECT_EQ(Box(dialog, "Minimum Value").text().size(), MeasurementDefinitionDialog::kValueLength);
        dialog.reject();
    });
}

// The whole run through the scratch copy.

class MeasurementRun : public EditorTest {
protected:
    void SetUp() override { m_working = writeWorkingCopy("VEXAMVX.TMP", kMeasurements); }
    std::string m_working;
};

TEST_F(MeasurementRun, OkAfterAChangeReplacesTheWorkingCopyAndTheScratchCopyGoes)
{
    DriveModal<MeasurementListDialog>([this](MeasurementListDialog& list) {
        EXPECT_TRUE(FileExists(scratchPath()));
        Select(*list.list(), "flow");
        m_messages.script({MessageAnswer::Yes});
        list.remove();
        ButtonOf(list, "Ok").click();
        // A second press finds the dialog ended.
        ButtonOf(list, "Ok").click();
    });
    EXPECT_EQ(editors::EditMeasurements(nullptr, m_working), 1);
    EXPECT_TRUE(profile::ListKeys("flow", m_working).empty());
    EXPECT_FALSE(profile::ListKeys("Pump", m_working).empty());
    EXPECT_FALSE(FileExists(scratchPath()));
}

TEST_F(MeasurementRun, CancelAfterAChangeAsksAndKeepsOrDropsTheChange)
{
    struct Case {
        MessageAnswer answer;
        int result;
        bool flowKept;
    };
    for (const Case& c : {Case{MessageAnswer::No, 0, true}, Case{MessageAnswer::Yes, 1, false}}) {
        WriteFileBytes(m_working, kMeasurements);
        profile::Flush(m_working);
        m_messages.clear();
        DriveModal<MeasurementListDialog>([&](MeasurementListDialog& list) {
            Select(*list.list(), "flow");
            m_messages.script({MessageAnswer::Yes, MessageAnswer::Cancel, c.answer});
            list.remove();
            ButtonOf(list, "Cancel").click();  // Cancel: stays open
            EXPECT_TRUE(list.isVisible());
            list.close();                      // the close box asks again
        });
        EXPECT_EQ(editors::EditMeasurements(nullptr, m_working), c.result);
        EXPECT_EQ(profile::ListKeys("flow", m_working).empty(), !c.flowKept);
        EXPECT_FALSE(FileExists(scratchPath()));
        EXPECT_EQ(m_messages.boxes().size(), 3U);
        EXPECT_EQ(m_messages.boxes()[1].caption, kCancelDialogCaption);
    }
}

TEST_F(MeasurementRun, ALeftOverScratchCopyIsReusedOnYesAndRefusedOnNo)
{
    WriteFileBytes(scratchPath(), "[Stale]\r\nU=old\r\n");
    m_messages.script({MessageAnswer::Yes});
    DriveModal<MeasurementListDialog>([](MeasurementListDialog& list) {
        EXPECT_EQ(Entries(*list.list()), (QStringList{"Alpha", "flow", "Pump"}));
        list.reject();
    });
    EXPECT_EQ(editors::EditMeasurements(nullptr, m_working), 0);
    EXPECT_EQ(m_messages.beepCount(), 1);

    m_messages.clear();
    WriteFileBytes(scratchPath(), "[Stale]\r\n");
    m_messages.script({MessageAnswer::No});
    EXPECT_EQ(editors::EditMeasurements(nullptr, m_working), 0);
    const QString question = QString("The file '%1' already exists on your disk. VEXA Display uses this file "
                                      "for temporary storage.\n\nOverwrite?")
                                 .arg(FromLocalPath(scratchPath()));
    ExpectBoxes(m_messages, {{question, "VEXA Display", MessageIcon::Question},
                             {"Unable to edit measurements. This file must be removed before you can edit "
                              "measurement definitions.",
                              "VEXA-Display Error", MessageIcon::Information}});
    // The file the user chose to keep is kept.
    EXPECT_EQ(ReadFileBytes(scratchPath()), "[Stale]\r\n");
}

TEST_F(MeasurementRun, AScratchCopyThatCannotBeWrittenGivesTheCopyErrorAndChangesNothing)
{
    // A folder in the scratch copy's place cannot be replaced by a file.
    std::filesystem::create_directory(scratchPath());
    m_messages.script({MessageAnswer::Yes});
    EXPECT_EQ(editors::EditMeasurements(nullptr, m_working), 0);
    ASSERT_EQ(m_messages.boxes().size(), 2U);
    EXPECT_EQ(m_messages.boxes()[1].caption, "ERROR: Could Not Copy File");
    EXPECT_EQ(m_messages.boxes()[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(ReadFileBytes(m_working), kMeasurements);
}

}  // namespace
}  // namespace vexa::test
