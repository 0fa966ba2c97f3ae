#include "CommandLine.h"

#include <algorithm>

namespace vexa::app {

namespace {

constexpr QLatin1StringView kFileOption{"-F"};
constexpr QLatin1StringView kViewOption{"-V"};
constexpr qsizetype kOptionLength = 2;

QString WithoutTrailingBlanks(QString text)
{
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return text;
}

QString WithoutLeadingBlanks(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start).isSpace())
        ++start;
    return text.mid(start);
}

}  // namespace

CommandLineStart ParseCommandLine(const QString& line)
{
    CommandLineStart start;
    const qsizetype file = line.indexOf(kFileOption, 0, Qt::CaseInsensitive);
    if (file >= 0) {
        QString text = line.mid(file, kMaxFileText);
        const qsizetype view = text.indexOf(kViewOption, 0, Qt::CaseInsensitive);
        if (view >= 0)
            text.truncate(view);
        start.hasFile = true;
        start.file = WithoutLeadingBlanks(WithoutTrailingBlanks(text).mid(kOptionLength));
    }
    const qsizetype view = line.indexOf(kViewOption, 0, Qt::CaseInsensitive);
    if (view >= 0) {
        start.hasView = true;
        start.view = WithoutLeadingBlanks(WithoutTrailingBlanks(line.mid(view + kOptionLength, kMaxViewText)));
    }
    return start;
}

CommandLineStart ParseArguments(const QStringList& arguments)
{
    const auto isOption = [](const QString& argument, QLatin1StringView option) {
        return argument.compare(option, Qt::CaseInsensitive) == 0;
    };
    const auto standsAlone = [&](QLatin1StringView option) {
        return std::any_of(arguments.begin(), arguments.end(),
                           [&](const QString& argument) { return isOption(argument, option); });
    };
    if (!standsAlone(kFileOption) && !standsAlone(kViewOption))
        return ParseCommandLine(JoinArguments(arguments));

    CommandLineStart start;
    qsizetype fileArgument = -1;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (isOption(arguments.at(i), kFileOption)) {
            start.hasFile = true;
            fileArgument = i + 1;
            start.file = arguments.value(fileArgument);
            break;
        }
    }
    // The file's own argument is a path, whatever it reads like.
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (i != fileArgument && isOption(arguments.at(i), kViewOption)) {
            start.hasView = true;
            start.view = JoinArguments(arguments.mid(i + 1));
            break;
        }
    }
    return start;
}

LongOptions TakeLongOptions(QStringList& arguments)
{
    static constexpr QLatin1StringView kLongPrefix{"--"};
    LongOptions options;
    QStringList rest;
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString& argument = arguments.at(index);
        if (!argument.startsWith(kLongPrefix) || argument.size() == kLongPrefix.size()) {
            rest << argument;
            continue;
        }
        QString name = argument.mid(kLongPrefix.size());
        QString value;
        if (const qsizetype equals = name.indexOf(QLatin1Char('=')); equals >= 0) {
            value = name.mid(equals + 1);
            name.truncate(equals);
        } else if (index + 1 < arguments.size() && !arguments.at(index + 1).startsWith(QLatin1Char('-'))) {
            value = arguments.at(++index);
        }
        options[name] = value;
    }
    arguments = rest;
    return options;
}

QString JoinArguments(const QStringList& arguments)
{
    return arguments.join(QLatin1Char(' '));
}

}  // namespace vexa::app
