#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace vexa::app {
namespace {

TEST(ParseCommandLine, FindsBothOptionsInAnyCaseAndKeepsWhatFollowsAsTyped)
{
    struct Case {
        const char* line;
        bool hasFile;
        const char* file;
        bool hasView;
        const char* view;
    };
    const Case cases[] = {
        {"", false, "", false, ""},
        {"-F /data/Plant.dsp", true, "/data/Plant.dsp", false, ""},
        {"-f   /data/Plant.dsp   ", true, "/data/Plant.dsp", false, ""},
        {"-F /data/Plant.dsp -V Main View", true, "/data/Plant.dsp", true, "Main View"},
        {"-F /data/Plant.dsp -v   main view  ", true, "/data/Plant.dsp", true, "main view"},
        // The view option first: the file text runs to the end of the line,
        // and the view text takes the file option with it.
        {"-v Main -f /data/Plant.dsp", true, "/data/Plant.dsp", true, "Main -f /data/Plant.dsp"},
        {"-V Main", false, "", true, "Main"},
        {"-F", true, "", false, ""},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.line);
        const CommandLineStart start = ParseCommandLine(QString::fromLatin1(each.line));
        EXPECT_EQ(start.hasFile, each.hasFile);
        EXPECT_EQ(start.file, QString::fromLatin1(each.file));
        EXPECT_EQ(start.hasView, each.hasView);
        EXPECT_EQ(start.view, QString::fromLatin1(each.view));
    }
}

TEST(ParseCommandLine, CutsTheFileTextAt260AndTheViewTextAt100Characters)
{
    const QString longPath = QStringLiteral("/") + QString(400, QLatin1Char('p'));
    const CommandLineStart file = ParseCommandLine(QStringLiteral("-F ") + longPath);
    // 260 characters from "-F" on, less the option and its blank.
    EXPECT_EQ(file.file, longPath.left(kMaxFileText - 3));

    const CommandLineStart view = ParseCommandLine(QStringLiteral("-V ") + QString(150, QLatin1Char('v')));
    EXPECT_EQ(view.view.size(), kMaxViewText - 1);
}

TEST(JoinArguments, JoinsWithSingleBlanks)
{
    EXPECT_EQ(JoinArguments({QStringLiteral("-F"), QStringLiteral("/a b/c.dsp"), QStringLiteral("-V"), QStringLiteral("Main")}),
              QStringLiteral("-F /a b/c.dsp -V Main"));
}

}  // namespace
}  // namespace vexa::app
