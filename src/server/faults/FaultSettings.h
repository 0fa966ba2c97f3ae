#pragma once

#include "server/faults/Fault.h"

#include <QStringList>

#include <string>

namespace vexa::server {

/// The faults' keys in the server's section of the settings file: one key
/// per fault, "Fault1", "Fault2", ..., each holding "PATTERN:KIND=ARGS"
/// (reading stops at the first absent number), and "FaultSeed".
class FaultSettings {
public:
    static constexpr const char* kSection = "VEXA-Com";
    static constexpr const char* kFaultStem = "Fault";
    static constexpr const char* kSeedKey = "FaultSeed";

    explicit FaultSettings(std::string file);

    const std::string& file() const { return m_file; }

    /// The faults the file holds. A fault that cannot be read is left out,
    /// and a seed that cannot be read left at its default, each with a text
    /// saying so added to \p problems.
    FaultConfig Read(QStringList* problems = nullptr) const;

    /// Writes what differs between \p before and \p after: the whole list
    /// when the faults changed (removing the keys beyond it), the seed when
    /// it changed. False when the file could not be written.
    bool WriteChanges(const FaultConfig& before, const FaultConfig& after) const;

private:
    std::string m_file;
};

}  // namespace vexa::server
