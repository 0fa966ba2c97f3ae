#pragma once

#include "platform/Messages.h"

#include <QString>
#include <QtGlobal>

#include <variant>

namespace vexa::server {

/// The kinds of entry dialog.
enum class InputKind { Integer, FloatingPoint, Text, BinaryText, Choice };

/// The message box that refuses an entry.
struct ValidationFailure {
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;

    bool operator==(const ValidationFailure&) const = default;
};

/// Reads a whole number. All blanks (spaces and tabs) are removed first, so
/// "10 00" is 1000. What remains is one optional sign at the front and at
/// least one digit: "+-5", "5-", "-" and "+" are not integers. A well-formed
/// number outside the 32-bit range, however long, is refused as out of range.
std::variant<qint32, ValidationFailure> ValidateInteger(const QString& entry);

/// Reads a decimal floating-point number, whatever the locale. All blanks are
/// removed first. What remains is an optional sign, digits with at most one
/// decimal point (at least one digit in all), and optionally one exponent
/// letter ("E" or "e") followed by an optional sign and at least one digit.
/// A value too large for a double is refused.
std::variant<double, ValidationFailure> ValidateFloatingPoint(const QString& entry);

/// Accepts any text, as typed; when \p valueRequired, refuses one that is
/// empty or only blanks.
std::variant<QString, ValidationFailure> ValidateText(const QString& entry, bool valueRequired);

/// Reads a string of "0" and "1". Blanks are allowed and removed; with a
/// \p demandedLength above zero the result is padded on the left with "0" to
/// that length, and a longer one is refused. An entry of blanks alone gives
/// an all-zero string of the demanded length (empty without one).
std::variant<QString, ValidationFailure> ValidateBinaryText(const QString& entry, int demandedLength);

}  // namespace vexa::server
