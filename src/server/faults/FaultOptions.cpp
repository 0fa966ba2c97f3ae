#include "server/faults/FaultOptions.h"

#include "platform/AnsiText.h"

namespace vexa::server {

namespace {

constexpr const char* kFaultOption = "--fault";
constexpr const char* kSeedOption = "--fault-seed";

}  // namespace

FaultConfig FaultOverrides::AppliedTo(FaultConfig config) const
{
    config.faults = faults.value_or(config.faults);
    config.seed = seed.value_or(config.seed);
    return config;
}

FaultOptionsResult ParseFaultOptions(const QStringList& arguments)
{
    FaultOptionsResult result;
    const QString faultOption = QString::fromLatin1(kFaultOption);
    const QString seedOption = QString::fromLatin1(kSeedOption);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? argument : argument.left(equals);
        const bool isFault = name == faultOption;
        if (!isFault && name != seedOption)
            continue;
        QString value;
        if (equals >= 0) {
            value = argument.mid(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            result.error = isFault ? QStringLiteral("%1 needs %2").arg(name, QLatin1String(kFaultForm))
                                   : QStringLiteral("%1 needs a whole number from 0 to %2")
                                         .arg(name)
                                         .arg(FaultConfig::kMaxSeed);
            return result;
        }
        if (isFault) {
            FaultParse parsed = ParseFault(ToAnsi(value));
            if (!parsed.fault.has_value()) {
                result.error = QStringLiteral("%1 needs %2, not \"%3\": %4")
                                   .arg(name, QLatin1String(kFaultForm), value, parsed.error);
                return result;
            }
            if (!result.overrides.faults.has_value())
                result.overrides.faults.emplace();
            result.overrides.faults->push_back(std::move(*parsed.fault));
        } else {
            result.overrides.seed = ParseFaultSeed(value.toStdString());
            if (!result.overrides.seed.has_value()) {
                result.error = QStringLiteral("%1 needs a whole number from 0 to %2, not \"%3\"")
                                   .arg(name)
                                   .arg(FaultConfig::kMaxSeed)
                                   .arg(value);
                return result;
            }
        }
    }
    return result;
}

}  // namespace vexa::server
