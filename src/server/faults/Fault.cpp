#include "server/faults/Fault.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>

namespace vexa::server {

namespace {

constexpr char kKindSeparator = ':';
constexpr char kArgumentsSeparator = '=';
constexpr char kArgumentSeparator = ',';
constexpr std::string_view kBlanks = " \t";

struct KindInfo {
    FaultKind kind;
    const char* name;
    const char* arguments;
    int count;
};

constexpr std::array<KindInfo, 5> kKinds = {{
    {FaultKind::Spike, "spike", "CHANCE,SIZE", 2},
    {FaultKind::Drift, "drift", "UNITS_PER_SECOND", 1},
    {FaultKind::Dropout, "dropout", "CHANCE,SECONDS", 2},
    {FaultKind::Stuck, "stuck", "CHANCE,SECONDS", 2},
    {FaultKind::Noise, "noise", "STANDARD_DEVIATION", 1},
}};

const KindInfo& InfoOf(FaultKind kind)
{
    return *std::find_if(kKinds.begin(), kKinds.end(), [kind](const KindInfo& info) { return info.kind == kind; });
}

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

QString Quoted(std::string_view text)
{
    return QStringLiteral("\"%1\"").arg(QString::fromLatin1(text.data(), qsizetype(text.size())));
}

/// A finite decimal number and nothing else.
std::optional<double> ParseNumber(std::string_view text)
{
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string NumberText(double value)
{
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

/// Why \p fault's numbers cannot be used; empty when they can.
QString RangeProblem(const Fault& fault)
{
    const bool hasChance = fault.kind == FaultKind::Spike || fault.kind == FaultKind::Dropout
                           || fault.kind == FaultKind::Stuck;
    if (hasChance && !(fault.chance >= 0.0 && fault.chance <= 1.0))
        return QStringLiteral("the chance must be from 0 to 1");
    const bool hasTime = fault.kind == FaultKind::Dropout || fault.kind == FaultKind::Stuck;
    if (hasTime && !(fault.seconds > 0.0 && fault.seconds <= kMaxFaultSeconds))
        return QStringLiteral("the time must be more than 0 and at most %1 seconds").arg(kMaxFaultSeconds);
    if (fault.kind == FaultKind::Noise && fault.amount < 0.0)
        return QStringLiteral("the standard deviation must not be negative");
    return {};
}

}  // namespace

const char* FaultKindName(FaultKind kind)
{
    return InfoOf(kind).name;
}

const char* FaultArgumentsForm(FaultKind kind)
{
    return InfoOf(kind).arguments;
}

const std::vector<FaultKind>& AllFaultKinds()
{
    static const std::vector<FaultKind> kinds = [] {
        std::vector<FaultKind> all;
        for (const KindInfo& info : kKinds)
            all.push_back(info.kind);
        return all;
    }();
    return kinds;
}

FaultParse ParseFault(std::string_view text)
{
    FaultParse result;
    const auto equals = text.find(kArgumentsSeparator);
    const auto colon = equals == std::string_view::npos ? std::string_view::npos
                                                        : text.substr(0, equals).rfind(kKindSeparator);
    if (colon == std::string_view::npos) {
        result.error = QStringLiteral("\":KIND=\" is missing");
        return result;
    }
    Fault fault;
    fault.pattern = std::string(Trimmed(text.substr(0, colon)));
    if (fault.pattern.empty()) {
        result.error = QStringLiteral("the pattern is empty");
        return result;
    }
    const std::string_view kindName = Trimmed(text.substr(colon + 1, equals - colon - 1));
    const auto info = std::find_if(kKinds.begin(), kKinds.end(),
                                   [kindName](const KindInfo& each) { return EqualsIgnoringCase(kindName, each.name); });
    if (info == kKinds.end()) {
        result.error = QStringLiteral("the kind %1 is none of spike, drift, dropout, stuck and noise").arg(Quoted(kindName));
        return result;
    }
    fault.kind = info->kind;

    std::vector<double> numbers;
    std::string_view rest = text.substr(equals + 1);
    while (true) {
        const auto comma = rest.find(kArgumentSeparator);
        const std::string_view piece = Trimmed(rest.substr(0, comma));
        const std::optional<double> number = ParseNumber(piece);
        if (!number.has_value()) {
            result.error = QStringLiteral("%1 is not a number").arg(Quoted(piece));
            return result;
        }
        numbers.push_back(*number);
        if (comma == std::string_view::npos)
            break;
        rest = rest.substr(comma + 1);
    }
    if (int(numbers.size()) != info->count) {
        result.error = QStringLiteral("%1 takes %2").arg(QLatin1String(info->name), QLatin1String(info->arguments));
        return result;
    }
    switch (fault.kind) {
    case FaultKind::Spike:
        fault.chance = numbers[0];
        fault.amount = numbers[1];
        break;
    case FaultKind::Dropout:
    case FaultKind::Stuck:
        fault.chance = numbers[0];
        fault.seconds = numbers[1];
        break;
    case FaultKind::Drift:
    case FaultKind::Noise:
        fault.amount = numbers[0];
        break;
    }
    result.error = RangeProblem(fault);
    if (result.error.isEmpty())
        result.fault = std::move(fault);
    return result;
}

std::string FaultArguments(const Fault& fault)
{
    switch (fault.kind) {
    case FaultKind::Spike:
        return NumberText(fault.chance) + kArgumentSeparator + NumberText(fault.amount);
    case FaultKind::Dropout:
    case FaultKind::Stuck:
        return NumberText(fault.chance) + kArgumentSeparator + NumberText(fault.seconds);
    case FaultKind::Drift:
    case FaultKind::Noise:
        break;
    }
    return NumberText(fault.amount);
}

std::string FaultText(const Fault& fault)
{
    return fault.pattern + kKindSeparator + FaultKindName(fault.kind) + kArgumentsSeparator + FaultArguments(fault);
}

std::optional<std::uint32_t> ParseFaultSeed(std::string_view text)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > FaultConfig::kMaxSeed)
        return std::nullopt;
    return std::uint32_t(value);
}

}  // namespace vexa::server
