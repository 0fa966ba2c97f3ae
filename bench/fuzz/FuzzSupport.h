#pragma once

// What the fuzz targets of the inputs' parsers share: a sink that checks
// every value a parser hands on and stores it as the server would.

#include "server/inputs/MeasurementName.h"
#include "server/inputs/ValueSink.h"
#include "server/inputs/ValueTable.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

namespace vexa::fuzz {

/// Aborts unless each value is one a double carries as a number and each
/// name is no longer than one beyond the longest measurement name; stores
/// those with a valid name in a value table.
class CheckingSink : public server::ValueSink {
public:
    void Value(std::string_view name, double value, double sourceTime) override
    {
        if (!std::isfinite(value) || std::isinf(sourceTime) || name.size() > server::kMaxMeasurementNameLength + 1)
            std::abort();
        ++m_values;
        if (server::IsValidMeasurementName(name))
            m_table.Store(name, value, sourceTime, 0, 0);
    }

    std::uint64_t values() const { return m_values; }

    /// Aborts unless the parser's counts agree with what it handed on.
    void Check(const server::ParseCounts& counts) const
    {
        if (counts.values != m_values || counts.errors > counts.messages)
            std::abort();
    }

private:
    std::uint64_t m_values = 0;
    server::ValueTable m_table;
};

}  // namespace vexa::fuzz
