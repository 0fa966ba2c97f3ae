#include "platform/FileDialogRecorder.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>

#include <functional>

namespace vexa {
namespace {

FileDialogRequest Request(const QString& title, FileDialogMode mode = FileDialogMode::Open)
{
    FileDialogRequest request;
    request.title = title;
    request.mode = mode;
    return request;
}

TEST(FileDialogRecorder, RecordsRequestsAndAnswersFromTheScriptInOrder)
{
    QStringList failures;
    FileDialogRecorder recorder([&](const QString& what) { failures.push_back(what); });
    recorder.script(QStringLiteral("/data/plant.vxd"));
    recorder.script(std::nullopt);

    FileDialogRequest first = Request("Open Display File");
    first.initialPath = "/data/old.vxd";
    first.filters = QStringList{"Display files (*.vxd)", "All files (*)"};
    EXPECT_EQ(RunFileDialog(first), QStringLiteral("/data/plant.vxd"));
    EXPECT_EQ(RunFileDialog(Request("New Display File", FileDialogMode::Create)), std::nullopt);

    ASSERT_EQ(recorder.requests().size(), 2u);
    EXPECT_EQ(recorder.requests()[0].title, "Open Display File");
    EXPECT_EQ(recorder.requests()[0].initialPath, "/data/old.vxd");
    EXPECT_EQ(recorder.requests()[0].filters, first.filters);
    EXPECT_EQ(recorder.requests()[1].mode, FileDialogMode::Create);
    EXPECT_EQ(recorder.unusedAnswers(), 0u);
    EXPECT_TRUE(failures.isEmpty());
}

TEST(FileDialogRecorder, UnscriptedDialogReportsItAndIsCancelled)
{
    QStringList failures;
    FileDialogRecorder recorder([&](const QString& what) { failures.push_back(what); });

    FileDialogRequest request = Request("Open Measurement File");
    request.initialPath = "/data/m.vxm";
    EXPECT_EQ(RunFileDialog(request), std::nullopt);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures.front().contains("Open Measurement File")) << failures.front().toStdString();
    EXPECT_TRUE(failures.front().contains("/data/m.vxm")) << failures.front().toStdString();
    EXPECT_EQ(recorder.requests().size(), 1u);
}

TEST(FileDialogRecorder, NestedRecorderHandsBackWhenItGoes)
{
    FileDialogRecorder outer([](const QString&) {});
    outer.script(QStringLiteral("outer"));
    {
        FileDialogRecorder inner([](const QString&) {});
        inner.script(QStringLiteral("inner"));
        EXPECT_EQ(RunFileDialog(Request("a")), QStringLiteral("inner"));
    }
    EXPECT_EQ(RunFileDialog(Request("b")), QStringLiteral("outer"));
    EXPECT_EQ(outer.requests().size(), 1u);
}

/// Runs \p act on the file dialog once it is on screen (see the message box
/// tests for why the search repeats).
void WhenDialogShown(std::function<void(QFileDialog&)> act)
{
    QTimer::singleShot(0, [act] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            if (dialog != nullptr && dialog->isVisible()) {
                act(*dialog);
                return;
            }
        }
        WhenDialogShown(act);
    });
}

class RealFileDialog : public ::testing::Test {
protected:
    void SetUp() override { m_saved = SetFileDialogHandler(nullptr); }
    void TearDown() override { SetFileDialogHandler(m_saved); }

    test::ScratchDir m_scratch;

private:
    FileDialogHandler* m_saved = nullptr;
};

TEST_F(RealFileDialog, IsSetUpFromTheRequestAndReturnsTheChosenFile)
{
    const QString directory = QString::fromStdString(m_scratch.path());
    test::WriteFileBytes(m_scratch.path("plant.vxd"), "x");
    const QStringList filters{"Display files (*.vxd)", "All files (*)"};

    const struct {
        FileDialogMode mode;
        const char* initialName;
        QFileDialog::FileMode fileMode;
    } cases[] = {
        {FileDialogMode::Open, "plant.vxd", QFileDialog::ExistingFile},
        {FileDialogMode::Create, "new.vxd", QFileDialog::AnyFile},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.initialName);
        FileDialogRequest request = Request("Pick a File", each.mode);
        request.initialPath = directory + each.initialName;
        request.filters = filters;

        bool seen = false;
        WhenDialogShown([&](QFileDialog& dialog) {
            seen = true;
            EXPECT_EQ(dialog.windowTitle(), "Pick a File");
            EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
            EXPECT_EQ(dialog.fileMode(), each.fileMode);
            EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
            EXPECT_EQ(dialog.nameFilters(), filters);
            EXPECT_EQ(dialog.selectedNameFilter(), filters.front());
            EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir(directory).canonicalPath());
            // QFileDialog hides accept(); QDialog's is the same virtual.
            static_cast<QDialog&>(dialog).accept();
        });
        const std::optional<QString> chosen = RunFileDialog(request);
        EXPECT_TRUE(seen);
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(QDir::cleanPath(*chosen), QDir::cleanPath(request.initialPath));
    }
}

TEST_F(RealFileDialog, CancelGivesNothing)
{
    FileDialogRequest request = Request("Pick a File");
    request.initialPath = QString::fromStdString(m_scratch.path());
    WhenDialogShown([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(RunFileDialog(request), std::nullopt);
}

}  // namespace
}  // namespace vexa
