#pragma once

#include "server/inputs/ValueSink.h"

#include <string_view>

namespace vexa::server {

/// Parses one JSON object and hands on its numbers and booleans (true is 1)
/// under flattened names: members of nested objects are joined with "."
/// ({"engine": {"rpm": 3000}} gives "engine.rpm"), array elements get their
/// index ({"temps": [20, 21]} gives "temps.0" and "temps.1"). A non-empty
/// \p prefix goes before every name, joined with "." as well. Strings and
/// nulls are skipped and counted. A number in the member "timestamp" of the
/// outermost object is the source time in seconds for all the values, not a
/// value of its own.
///
/// The object is taken whole or not at all: text that is not one JSON object
/// (with nothing but blanks around it), and numbers a double cannot carry
/// (1e400; JSON has no nan or inf), count as one error and give no value.
/// Nesting is followed without recursion, however deep. The object counts
/// as one message.
ParseCounts FlattenJsonObject(std::string_view text, std::string_view prefix, ValueSink& sink);

/// A datagram of the JSON input: one object, its names without a prefix.
inline ParseCounts ParseJsonDatagram(std::string_view datagram, ValueSink& sink)
{
    return FlattenJsonObject(datagram, {}, sink);
}

}  // namespace vexa::server
