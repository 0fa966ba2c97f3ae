#include "server/inputs/MeasurementFile.h"

#include "platform/AnsiText.h"
#include "server/inputs/ValueTable.h"

#include <QHash>
#include <QString>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <vector>

namespace vexa::server {

namespace {

constexpr double kDecimalBase = 10.0;
constexpr std::string_view kLineEnd = "\r\n";
/// Integers below this are written out in full; larger ones with an exponent.
constexpr double kLargestPlainInteger = 1e15;

/// 10 to the power of \p exponent's magnitude: exact for the exponents of
/// ordinary values, so that scaling by it adds no error of its own.
double PowerOfTen(int exponent)
{
    return std::pow(kDecimalBase, std::abs(exponent));
}

/// \p value in steps of 10^exponent.
double InSteps(double value, int exponent)
{
    return exponent < 0 ? value * PowerOfTen(exponent) : value / PowerOfTen(exponent);
}

/// \p steps taken back to a value and written as decimal text without the
/// noise of binary fractions (0.3, not 0.30000000000000004).
std::string StepText(double steps, int exponent)
{
    std::array<char, 64> text{};
    const double value = (exponent < 0 ? steps / PowerOfTen(exponent) : steps * PowerOfTen(exponent)) + 0.0;
    const int significant = steps == 0.0 ? 1 : int(std::floor(std::log10(std::fabs(steps)))) + 1;
    char* const first = text.data();
    char* const last = text.data() + text.size();
    const auto end = exponent >= 0 && std::fabs(value) < kLargestPlainInteger
                         ? std::to_chars(first, last, value, std::chars_format::fixed, 0).ptr
                         : std::to_chars(first, last, value, std::chars_format::general, significant).ptr;
    return std::string(first, end);
}

/// \p steps, or the whole number it lies a hair beside: a decimal value
/// like 1013.2 scales to 10131.999999999998, which is 10132 all the same.
double Snapped(double steps)
{
    constexpr double kTolerance = 1e-9;
    const double nearest = std::round(steps);
    return std::fabs(steps - nearest) <= kTolerance * std::max(1.0, std::fabs(nearest)) ? nearest : steps;
}

std::string ExactText(double value)
{
    std::array<char, 64> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    return std::string(text.data(), end);
}

}  // namespace

MeasurementLimits RoundedLimits(double lowest, double highest)
{
    double span = highest - lowest;
    if (span <= 0.0)
        span = highest != 0.0 ? std::fabs(highest) : 1.0;
    if (!std::isfinite(span))
        return {ExactText(lowest), ExactText(highest)};
    const int exponent = int(std::floor(std::log10(span)));
    double lower = std::floor(Snapped(InSteps(lowest, exponent)));
    double upper = std::ceil(Snapped(InSteps(highest, exponent)));
    if (!std::isfinite(lower) || !std::isfinite(upper))
        return {ExactText(lowest), ExactText(highest)};
    if (lower == upper) {
        lower -= 1.0;
        upper += 1.0;
    }
    return {StepText(lower, exponent), StepText(upper, exponent)};
}

MeasurementFileText MeasurementFileFor(const ValueTable& table)
{
    struct Section {
        std::size_t entry;
        double lowest;
        double highest;
    };
    std::vector<Section> sections;
    QHash<QString, std::size_t> byFoldedName;
    MeasurementFileText file;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ValueTable::Entry& entry = table.entry(i);
        const QString folded = FromAnsi(entry.name).toCaseFolded();
        if (const auto found = byFoldedName.constFind(folded); found != byFoldedName.cend()) {
            Section& section = sections[*found];
            section.lowest = std::min(section.lowest, entry.lowest);
            section.highest = std::max(section.highest, entry.highest);
            ++file.merged;
            continue;
        }
        byFoldedName.insert(folded, sections.size());
        sections.push_back(Section{i, entry.lowest, entry.highest});
    }
    for (const Section& section : sections) {
        const MeasurementLimits limits = RoundedLimits(section.lowest, section.highest);
        file.bytes.append("[").append(table.entry(section.entry).name).append("]").append(kLineEnd);
        file.bytes.append("L=").append(limits.lower).append(kLineEnd);
        file.bytes.append("H=").append(limits.upper).append(kLineEnd);
        file.bytes.append(kLineEnd);
    }
    file.sections = sections.size();
    return file;
}

}  // namespace vexa::server
