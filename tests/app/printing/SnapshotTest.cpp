#include "PdfTools.h"

#include "../FrameTestSupport.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

constexpr int kProgramWaitMs = 60000;

struct ViewerRun {
    int exitCode = -1;
    QString errors;
};

ViewerRun RunViewer(const QStringList& arguments)
{
    QProcess program;
    program.start(QStringLiteral(VEXAVIEW_PATH), arguments);
    ViewerRun run;
    if (program.waitForFinished(kProgramWaitMs) && program.exitStatus() == QProcess::NormalExit)
        run.exitCode = program.exitCode();
    run.errors = QString::fromLocal8Bit(program.readAllStandardError());
    return run;
}

class Snapshot : public ::testing::Test {
protected:
    void SetUp() override { WriteSettings(OfflineSettings()); }

    QString file(const std::string& name) const { return QString::fromStdString(m_dir.path(name)); }

    ScratchDir m_dir;
    QString m_plant = QString::fromStdString(WritePlant(m_dir, "plant.dsp"));
};

TEST_F(Snapshot, WritesEveryGraphOfTheViewAsOneVectorPage)
{
    // The long options may stand anywhere, before or among -F and -V.
    const ViewerRun run = RunViewer({QStringLiteral("--snapshot"), file("main.pdf"), QStringLiteral("-F"), m_plant,
                               QStringLiteral("--after"), QStringLiteral("0.5"), QStringLiteral("-V"),
                               QStringLiteral("Main")});
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    ASSERT_EQ(PdfPageCount(file("main.pdf")), 2);
    EXPECT_TRUE(PdfText(file("main.pdf"), 1).contains(QStringLiteral("Pressures")));
    EXPECT_TRUE(PdfText(file("main.pdf"), 2).contains(QStringLiteral("Flow")));
    EXPECT_EQ(PdfImageCount(file("main.pdf")), 0);

    const ViewerRun picture = RunViewer({QStringLiteral("-F"), m_plant, QStringLiteral("-V"), QStringLiteral("Main"),
                                   QStringLiteral("--snapshot=") + file("main.png"), QStringLiteral("--after=0")});
    EXPECT_EQ(picture.exitCode, 0) << picture.errors.toStdString();
    QFile png(file("main.png"));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    EXPECT_TRUE(png.readAll().startsWith("\x89PNG"));
}

TEST_F(Snapshot, AnyFailureExitsWithOneAndSaysWhy)
{
    const struct {
        QStringList arguments;
        const char* reason;
    } cases[] = {
        {{QStringLiteral("-F"), file("absent.dsp"), QStringLiteral("-V"), QStringLiteral("Main")}, "No such file"},
        {{QStringLiteral("-F"), m_plant, QStringLiteral("-V"), QStringLiteral("Nowhere")}, "No such view: Nowhere"},
        {{QStringLiteral("-F"), m_plant, QStringLiteral("-V"), QStringLiteral("Main"), QStringLiteral("--after"),
          QStringLiteral("soon")},
         "--after needs a number"},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.reason);
        const ViewerRun run = RunViewer(QStringList{QStringLiteral("--snapshot"), file("out.pdf")} << example.arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.errors.contains(QString::fromLatin1(example.reason))) << run.errors.toStdString();
    }
    const ViewerRun folder = RunViewer({QStringLiteral("--snapshot"), file("missing/out.pdf"), QStringLiteral("-F"), m_plant,
                                  QStringLiteral("-V"), QStringLiteral("Main")});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_TRUE(folder.errors.contains(QStringLiteral("No such folder"))) << folder.errors.toStdString();
    EXPECT_FALSE(QFile::exists(file("out.pdf")));
}

}  // namespace
}  // namespace vexa::test
