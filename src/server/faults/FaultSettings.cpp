#include "server/faults/FaultSettings.h"

#include "document/ProfileStore.h"

#include <utility>

namespace vexa::server {

namespace {

std::string FaultKey(std::size_t number)
{
    return FaultSettings::kFaultStem + std::to_string(number);
}

QString Unusable(const std::string& key, const std::string& value, const QString& why, const char* outcome)
{
    return QStringLiteral("The setting %1=%2 cannot be used (%3); %4.")
        .arg(QString::fromStdString(key), QString::fromLatin1(value), why, QLatin1String(outcome));
}

}  // namespace

FaultSettings::FaultSettings(std::string file) : m_file(std::move(file)) {}

FaultConfig FaultSettings::Read(QStringList* problems) const
{
    FaultConfig config;
    for (std::size_t number = 1;; ++number) {
        const std::string key = FaultKey(number);
        const std::string text = profile::ReadString(kSection, key, "", m_file);
        if (text.empty())
            break;
        FaultParse parsed = ParseFault(text);
        if (parsed.fault.has_value())
            config.faults.push_back(std::move(*parsed.fault));
        else if (problems != nullptr)
            problems->append(Unusable(key, text, parsed.error, "it is left out"));
    }
    const std::string seed = profile::ReadString(kSection, kSeedKey, "", m_file);
    if (!seed.empty()) {
        if (const std::optional<std::uint32_t> value = ParseFaultSeed(seed))
            config.seed = *value;
        else if (problems != nullptr)
            problems->append(Unusable(kSeedKey, seed,
                                      QStringLiteral("a seed is a whole number from 0 to %1").arg(FaultConfig::kMaxSeed),
                                      "it is left at its default"));
    }
    return config;
}

bool FaultSettings::WriteChanges(const FaultConfig& before, const FaultConfig& after) const
{
    bool written = true;
    // One write of the file for all the keys; its outcome is the outcome.
    profile::BeginDeferredWrites(m_file);
    if (before.faults != after.faults) {
        for (std::size_t i = 0; i < after.faults.size(); ++i)
            written = profile::WriteString(kSection, FaultKey(i + 1), FaultText(after.faults[i]), m_file) && written;
        for (std::size_t number = after.faults.size() + 1;
             !profile::ReadString(kSection, FaultKey(number), "", m_file).empty(); ++number)
            written = profile::DeleteKey(kSection, FaultKey(number), m_file) && written;
    }
    if (before.seed != after.seed)
        written = profile::WriteString(kSection, kSeedKey, std::to_string(after.seed), m_file) && written;
    return profile::EndDeferredWrites(m_file) && written;
}

}  // namespace vexa::server
