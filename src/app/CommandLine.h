#pragma once

#include <QString>
#include <QStringList>

#include <map>

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

/// Reads the program's arguments (without the program itself). Where "-F"
/// or "-V" stands as an argument of its own, in any letter case, as shells
/// and desktop files pass them, the file is the argument after the first
/// "-F" and the view the arguments after the first other "-V", joined by
/// blanks; both exactly as given, hyphens, blanks and all. Otherwise (a
/// command line that arrives as one argument) the joined arguments are read
/// as ParseCommandLine() reads a line.
CommandLineStart ParseArguments(const QStringList& arguments);

/// Options that start with two dashes, by name without the dashes, each
/// with its value ("" for none).
using LongOptions = std::map<QString, QString>;

/// Takes every option that starts with two dashes out of \p arguments,
/// wherever it stands, with its value: the text after "=" in "--name=value",
/// otherwise the next argument unless that is an option itself.
LongOptions TakeLongOptions(QStringList& arguments);

/// The program's arguments (without the program itself) joined by blanks.
QString JoinArguments(const QStringList& arguments);

}  // namespace vexa::app
