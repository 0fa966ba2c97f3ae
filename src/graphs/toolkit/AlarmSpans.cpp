#include "graphs/toolkit/AlarmSpans.h"

#include "graphs/toolkit/AlarmLevels.h"

#include <algorithm>
#include <cmath>

namespace vexa::toolkit {

namespace {

constexpr double kNarrowestSpan = 1.0;

void AddSpan(double from, double to, int level, std::vector<AlarmSpan>& spans)
{
    double left = std::min(from, to);
    double right = std::max(from, to);
    if (right - left < kNarrowestSpan) {
        const double middle = (left + right) / 2.0;
        left = middle - kNarrowestSpan / 2.0;
        right = middle + kNarrowestSpan / 2.0;
    }
    spans.push_back({left, right, level});
}

}  // namespace

void CollectAlarmSpans(std::span<const double> x, std::span<const int> levels, std::vector<AlarmSpan>& spans)
{
    const std::size_t rows = std::min(x.size(), levels.size());
    std::size_t first = 0;
    while (first < rows) {
        const int level = levels[first];
        std::size_t next = first + 1;
        while (next < rows && levels[next] == level) {
            ++next;
        }
        if (level != kLevelNormal && std::isfinite(x[first])) {
            const double end = next < rows ? x[next] : x[next - 1];
            AddSpan(x[first], std::isfinite(end) ? end : x[first], level, spans);
        }
        first = next;
    }
}

}  // namespace vexa::toolkit
