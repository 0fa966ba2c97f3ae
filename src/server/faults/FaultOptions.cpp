#include "server/faults/FaultOptions.h"

#include "platform/AnsiText.h"
#include "server/inputs/CommandLineOptions.h"

#include <string>

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
    // What --fault found wrong, said after the form the value should have.
    struct Target {
        FaultOverrides overrides;
        QString reason;
    };
    static const std::string seedExpects = "a whole number from 0 to " + std::to_string(FaultConfig::kMaxSeed);
    const std::vector<CommandLineOption<Target>> options = {
        {kFaultOption, kFaultForm,
         [](Target& target, const QString& value) {
             FaultParse parsed = ParseFault(ToAnsi(value));
             if (!parsed.fault.has_value()) {
                 target.reason = parsed.error;
                 return false;
             }
             if (!target.overrides.faults.has_value())
                 target.overrides.faults.emplace();
             target.overrides.faults->push_back(std::move(*parsed.fault));
             return true;
         }},
        {kSeedOption, seedExpects.c_str(),
         [](Target& target, const QString& value) {
             target.overrides.seed = ParseFaultSeed(value.toStdString());
             return target.overrides.seed.has_value();
         }},
    };
    Target target;
    FaultOptionsResult result;
    result.error = ReadCommandLine(arguments, options, target);
    if (!result.error.isEmpty() && !target.reason.isEmpty())
        result.error += QStringLiteral(": ") + target.reason;
    result.overrides = std::move(target.overrides);
    return result;
}

}  // namespace vexa::server
