#pragma once

#include <QString>
#include <QStringList>

namespace vexa::app {

/// What the command line asks for: a display file to open and a view to open
/// in it.
struct CommandLineStart {
    bool hasFile = false;
    QString file;   ///< as typed: paths keep their letter case
    bool hasView = false;
    QString view;   ///< matched against the view titles without regard to case
};

/// The longest file text and view text taken from the command line.
inline constexpr int kMaxFileText = 260;
inline constexpr int kMaxViewText = 100;

/// Reads "-F path" and "-V view" from \p line. The options are found in any
/// letter case. The file text runs from "-F" to a "-V" behind it or to the
/// end of the line, the view text from the first "-V" to the end of the
/// line; both without the blanks around them.
CommandLineStart ParseCommandLine(const QString& line);

/// The program's arguments (without the program itself) joined by blanks.
QString JoinArguments(const QStringList& arguments);

}  // namespace vexa::app
