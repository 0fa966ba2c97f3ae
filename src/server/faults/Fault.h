#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::server {

/// The ways a simulated value can be made to misbehave.
enum class FaultKind {
    Spike,    ///< with a chance each step, the value jumps by a size for that step
    Drift,    ///< the value wanders off at a steady number of units per second
    Dropout,  ///< with a chance each step, the value is NaN for a time
    Stuck,    ///< with a chance each step, the value freezes for a time
    Noise,    ///< Gaussian noise of a standard deviation on every step
};

/// One fault: the names it applies to and what it does to them. Written as
/// "PATTERN:KIND=ARGS", for example "SIN*:spike=0.05,50" or "*TEMP*:drift=0.5".
struct Fault {
    /// A name pattern of 8-bit bytes: "*" stands for any run of characters,
    /// "?" for any one; letters match in either case.
    std::string pattern;
    FaultKind kind = FaultKind::Noise;
    /// The chance per step, 0 to 1 (spike, dropout, stuck).
    double chance = 0.0;
    /// The spike's size, the drift in units per second, or the noise's
    /// standard deviation.
    double amount = 0.0;
    /// How long a dropout or a stuck value lasts, in seconds.
    double seconds = 0.0;

    bool operator==(const Fault&) const = default;
};

/// The faults in force and the seed of the random numbers they draw.
struct FaultConfig {
    /// Faults repeat the same misbehaviour for the same seed, whatever else
    /// draws random numbers, so that a run can be repeated.
    static constexpr std::uint32_t kDefaultSeed = 1;
    static constexpr std::uint32_t kMaxSeed = 2147483647;

    std::vector<Fault> faults;
    std::uint32_t seed = kDefaultSeed;

    bool operator==(const FaultConfig&) const = default;
};

/// A fault read from its text, or why it could not be.
struct FaultParse {
    std::optional<Fault> fault;
    QString error;  ///< empty when the text was sound
};

/// The longest a dropout or a stuck value may last: a day.
constexpr double kMaxFaultSeconds = 86400.0;

/// The form every fault is written in, for messages.
constexpr const char* kFaultForm = "PATTERN:KIND=ARGS";

/// The name of \p kind as the text of a fault writes it ("spike", ...).
const char* FaultKindName(FaultKind kind);
/// The arguments \p kind takes, as help for the user ("CHANCE,SIZE", ...).
const char* FaultArgumentsForm(FaultKind kind);
/// Every kind, in the order the user is offered them.
const std::vector<FaultKind>& AllFaultKinds();

/// Reads "PATTERN:KIND=ARGS". The pattern runs to the last ":" before the
/// first "="; the kind may be written in any case; the arguments are
/// decimal numbers separated by ",":
///   spike=CHANCE,SIZE  drift=UNITS_PER_SECOND  dropout=CHANCE,SECONDS
///   stuck=CHANCE,SECONDS  noise=STANDARD_DEVIATION
FaultParse ParseFault(std::string_view text);

/// The arguments of \p fault as ParseFault reads them ("0.05,50").
std::string FaultArguments(const Fault& fault);
/// \p fault written as ParseFault reads it, its numbers in their shortest
/// exact form.
std::string FaultText(const Fault& fault);

/// A seed written in decimal digits, 0 to FaultConfig::kMaxSeed; nullopt
/// for anything else.
std::optional<std::uint32_t> ParseFaultSeed(std::string_view text);

}  // namespace vexa::server
