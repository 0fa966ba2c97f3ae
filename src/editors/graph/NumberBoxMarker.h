#pragma once

class QLineEdit;

namespace vexa::editors {

/// Text and accessible description of a box whose text is no number.
inline constexpr const char* kNotANumberText = "Not a number: this value is read as 0";

/// True when \p text, after leading blanks, does not begin with a number
/// (an empty text is no such case: it leaves the value to its default).
bool IsUnreadableNumber(const char* text);

/// Keeps \p box marked while its text is no number: a red frame, and the
/// tooltip and accessible description kNotANumberText.
void MarkUnreadableNumbers(QLineEdit& box);

}  // namespace vexa::editors
