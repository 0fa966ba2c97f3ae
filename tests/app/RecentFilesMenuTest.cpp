#include "FrameTestSupport.h"

#include "app/FrameCommand.h"
#include "banner/Banner.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

using app::CommandId;
using app::FrameCommand;

class RecentFilesMenu : public ::testing::Test {
protected:
    void SetUp() override { WriteSettings(OfflineSettings()); }
    void TearDown() override { CloseBanner(); }

    /// Opens and closes \p path, which joins the recent files.
    void OpenAndClose(app::FrameWindow& frame, const std::string& path)
    {
        ASSERT_TRUE(OpenDisplayFile(frame, path));
        ASSERT_EQ(frame.SendCommand(CommandId(FrameCommand::Close)), 0);
    }

    /// The recent-file items of the File menu: what lies between "Printing
    /// Op&tions..." and "E&xit", separators included.
    static QList<QAction*> RecentPart(app::FrameWindow& frame)
    {
        QList<QAction*> items = MenuOf(frame, QStringLiteral("&File"))->actions();
        const qsizetype first = items.indexOf(CommandItem(frame, CommandId(FrameCommand::PrintingOptions)));
        const qsizetype last = items.indexOf(CommandItem(frame, CommandId(FrameCommand::Exit)));
        return items.mid(first + 1, last - first - 1);
    }

    ScriptedMessages m_messages;
    ScratchDir m_dir;
};

TEST_F(RecentFilesMenu, KeepsNineEntriesNewestFirstUnderFreshIdentifiers)
{
    auto frame = StartFrame();
    std::vector<std::string> paths;
    for (int n = 1; n <= 10; ++n)
        paths.push_back(WritePlant(m_dir, "plant" + std::to_string(n) + ".dsp"));
    for (int n = 0; n < 9; ++n)
        OpenAndClose(*frame, paths[static_cast<std::size_t>(n)]);

    QList<QAction*> part = RecentPart(*frame);
    ASSERT_EQ(part.size(), 11);  // a separator, nine entries, a separator
    EXPECT_TRUE(part.front()->isSeparator());
    EXPECT_TRUE(part.back()->isSeparator());
    EXPECT_EQ(part[1]->text(), QStringLiteral("&1 ") + QString::fromStdString(paths[8]));
    EXPECT_EQ(part[9]->text(), QStringLiteral("&9 ") + QString::fromStdString(paths[0]));

    // The tenth drops the oldest.
    OpenAndClose(*frame, paths[9]);
    part = RecentPart(*frame);
    ASSERT_EQ(part.size(), 11);
    EXPECT_EQ(part[1]->text(), QStringLiteral("&1 ") + QString::fromStdString(paths[9]));
    EXPECT_EQ(part[9]->text(), QStringLiteral("&9 ") + QString::fromStdString(paths[1]));
    std::set<int> ids;
    for (int i = 1; i <= 9; ++i) {
        const int id = part[i]->data().toInt();
        EXPECT_GE(id, app::kFirstRecentCommand);
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), 9u);

    // Choosing an entry opens its file.
    frame->SendCommand(part[3]->data().toInt());
    EXPECT_TRUE(frame->probe().document.isOpen());
    EXPECT_EQ(frame->probe().document.path(), paths[7]);
    EXPECT_TRUE(m_messages.boxes().empty());
}

TEST_F(RecentFilesMenu, ANeverSavedDocumentIsNotAddedAndFilesThatWentAreDroppedAtStart)
{
    const std::string kept = WritePlant(m_dir, "kept.dsp");
    const std::string gone = WritePlant(m_dir, "gone.dsp");
    {
        auto frame = StartFrame();
        OpenAndClose(*frame, gone);
        OpenAndClose(*frame, kept);
        // A new document that is closed before it was ever saved.
        ScriptedFileDialogs dialogs;
        dialogs.script(QString::fromStdString(m_dir.path("fresh.dsp")));
        frame->SendCommand(CommandId(FrameCommand::New));
        ASSERT_TRUE(frame->probe().document.isOpen());
        EXPECT_EQ(frame->SendCommand(CommandId(FrameCommand::Close)), 0);
        EXPECT_EQ(StoredRecentFiles(), std::vector<std::string>({kept, gone}));
    }
    CloseBanner();
    std::remove(gone.c_str());

    auto frame = StartFrame();
    const QList<QAction*> part = RecentPart(*frame);
    ASSERT_EQ(part.size(), 3);
    EXPECT_EQ(part[1]->text(), QStringLiteral("&1 ") + QString::fromStdString(kept));
}

}  // namespace
}  // namespace vexa::test
