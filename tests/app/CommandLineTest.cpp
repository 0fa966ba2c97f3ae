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

TEST(ParseArguments, OptionsOfTheirOwnTakeTheNextArgumentsAsGivenAndOneArgumentIsAJoinedLine)
{
    struct Case {
        QStringList arguments;
        bool hasFile;
        QString file;
        bool hasView;
        QString view;
    };
    const Case cases[] = {
        {{"-F", "/data/my-videos/Line.dsp"}, true, "/data/my-videos/Line.dsp", false, ""},
        {{"-f", "/data/-V/a-f b.dsp", "-v", "Main"}, true, "/data/-V/a-f b.dsp", true, "Main"},
        {{"-F", "/home/zoë/Messdaten -v/Größe.dsp ", "-V", "Übersicht", "-f", "Druck"},
         true, "/home/zoë/Messdaten -v/Größe.dsp ", true, "Übersicht -f Druck"},
        // A file argument that reads like an option is still the file.
        {{"-F", "-V"}, true, "-V", false, ""},
        {{"-F", "-v", "-V", "-f"}, true, "-v", true, "-f"},
        // The view first: it takes the rest, and the file is found as well.
        {{"-V", "Main", "-F", "/data/x-v.dsp"}, true, "/data/x-v.dsp", true, "Main -F /data/x-v.dsp"},
        {{"-F"}, true, "", false, ""},
        // One argument, or options glued to their text: the joined line.
        {{"-F /home/zoë/my data.dsp -V Main"}, true, "/home/zoë/my data.dsp", true, "Main"},
        {{"-F /data/my-videos/Line.dsp"}, true, "/data/my", true, "ideos/Line.dsp"},
        {{"-F/data/Plant.dsp", "-VMain"}, true, "/data/Plant.dsp", true, "Main"},
        {{}, false, "", false, ""},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.arguments.join(QLatin1Char('|')).toStdString());
        const CommandLineStart start = ParseArguments(each.arguments);
        EXPECT_EQ(start.hasFile, each.hasFile);
        EXPECT_EQ(start.file, each.file);
        EXPECT_EQ(start.hasView, each.hasView);
        EXPECT_EQ(start.view, each.view);
    }
}

TEST(JoinArguments, JoinsWithSingleBlanks)
{
    EXPECT_EQ(JoinArguments({QStringLiteral("-F"), QStringLiteral("/a b/c.dsp"), QStringLiteral("-V"), QStringLiteral("Main")}),
              QStringLiteral("-F /a b/c.dsp -V Main"));
}

}  // namespace
}  // namespace vexa::app
