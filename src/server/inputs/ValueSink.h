#pragma once

#include <cstdint>
#include <string_view>

namespace vexa::server {

/// Where a parser hands every value it found.
class ValueSink {
public:
    virtual ~ValueSink() = default;
    /// One value: \p name as the message spelled it (a name longer than a
    /// measurement name may be is handed on cut to one character beyond that
    /// limit, so that the name check refuses it without the parser keeping
    /// the whole of it), and \p sourceTime in seconds since the epoch as the
    /// sender stamped the message, NaN when it carried no time.
    virtual void Value(std::string_view name, double value, double sourceTime) = 0;
};

/// What a parser counted in one buffer.
struct ParseCounts {
    std::uint64_t messages = 0;  ///< lines of line protocol, JSON objects, well formed or not
    std::uint64_t values = 0;    ///< values handed to the sink
    std::uint64_t skipped = 0;   ///< strings (and JSON nulls): fields without a number
    std::uint64_t errors = 0;    ///< messages refused whole as malformed
    std::uint64_t oversize = 0;  ///< lines over the line limit, dropped unread

    ParseCounts& operator+=(const ParseCounts& other)
    {
        messages += other.messages;
        values += other.values;
        skipped += other.skipped;
        errors += other.errors;
        oversize += other.oversize;
        return *this;
    }
};

}  // namespace vexa::server
