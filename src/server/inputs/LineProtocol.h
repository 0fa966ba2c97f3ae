#pragma once

#include "server/inputs/ValueSink.h"

#include <cstddef>
#include <string_view>

namespace vexa::server {

/// The longest line an input takes, without its line end: 64 KB. A longer
/// line is dropped and counted, never gathered.
constexpr std::size_t kMaxLineBytes = 64 * 1024;

/// Parses line protocol, any number of lines ended by LF (a CR before it is
/// dropped; the last line needs no end):
///
///     measurement[,tag=value...] field=value[,field=value...] [timestamp]
///
/// Each field sets the name "measurement.field"; a field called "value" sets
/// "measurement" alone. Tags are checked for form and ignored. Field values
/// are floats (1, -2.5, 3e4), integers (12i), unsigned integers (12u) and
/// booleans (t, true, f, false in any of their usual spellings; true is 1);
/// strings ("text") are skipped and counted. Commas, blanks, "=" and "\" are
/// escaped with "\" in the names. The timestamp, in nanoseconds since the
/// epoch, is the source time of the line's values.
///
/// A line is taken whole or not at all: one that breaks the form, or holds a
/// number a double cannot carry (1e400, nan, inf, an integer beyond 64 bits),
/// counts as an error and gives no value. Blank lines and lines beginning
/// with "#" are ignored; lines over kMaxLineBytes are counted as oversize.
ParseCounts ParseLineProtocol(std::string_view bytes, ValueSink& sink);

}  // namespace vexa::server
