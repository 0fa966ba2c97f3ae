#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace vexa::server {

/// One option of the command line that sets something of a \p Target: its
/// name, what its value must be (nullptr for a flag, which takes none), and
/// how the value is taken; false when the value will not do.
template <typename Target>
struct CommandLineOption {
    const char* name;
    const char* expects;
    std::function<bool(Target& target, const QString& value)> take;
};

/// Reads \p options from \p arguments (the program's name first) into
/// \p target, a value given as the next argument or as --option=VALUE.
/// Arguments that are none of the options are left to others. Returns
/// what was wrong with the first option that failed ("--port needs a port
/// from 1 to 65535, not \"x\""), or an empty text.
template <typename Target>
QString ReadCommandLine(const QStringList& arguments, const std::vector<CommandLineOption<Target>>& options,
                        Target& target)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? argument : argument.left(equals);
        const CommandLineOption<Target>* option = nullptr;
        for (const CommandLineOption<Target>& candidate : options) {
            if (name == QLatin1String(candidate.name))
                option = &candidate;
        }
        if (option == nullptr)
            continue;
        QString value;
        if (option->expects == nullptr) {
            option->take(target, value);
            continue;
        }
        if (equals >= 0)
            value = argument.mid(equals + 1);
        else if (i + 1 < arguments.size())
            value = arguments[++i];
        else
            return QStringLiteral("%1 needs %2").arg(QLatin1String(option->name), QLatin1String(option->expects));
        if (!option->take(target, value)) {
            return QStringLiteral("%1 needs %2, not \"%3\"")
                .arg(QLatin1String(option->name), QLatin1String(option->expects), value);
        }
    }
    return {};
}

}  // namespace vexa::server
