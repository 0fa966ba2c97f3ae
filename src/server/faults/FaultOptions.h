#pragma once

#include "server/faults/Fault.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace vexa::server {

/// The faults given on the command line. Given, they win over the settings
/// file for the run, and none is written to it.
struct FaultOverrides {
    std::optional<std::vector<Fault>> faults;
    std::optional<std::uint32_t> seed;

    /// \p config with what is given here put in its place.
    FaultConfig AppliedTo(FaultConfig config) const;
};

/// The outcome of reading the command line: the overrides, or what was wrong.
struct FaultOptionsResult {
    FaultOverrides overrides;
    QString error;  ///< empty when the options were sound
};

/// Reads --fault 'PATTERN:KIND=ARGS' (repeatable; the faults given replace
/// those of the settings file) and --fault-seed N from \p arguments (the
/// program's name first), each also as --option=VALUE. Other arguments are
/// left to others. A missing or malformed value is an error that says what
/// the value should be.
FaultOptionsResult ParseFaultOptions(const QStringList& arguments);

}  // namespace vexa::server
