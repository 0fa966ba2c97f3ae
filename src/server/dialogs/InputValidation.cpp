#include "InputValidation.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vexa::server {

namespace {

constexpr const char* kNumberCaption = "ERROR: Illegal Value Entered";
constexpr const char* kNotAnInteger = "Value entered is not a valid integer. Please re-enter.";
constexpr const char* kIntegerOutOfRange =
    "Integer number out of range. You must enter a number between %ld and %ld";
constexpr const char* kNotAFloatingPointNumber =
    "Value entered is not a valid floating point number. Please re-enter.";
constexpr const char* kNoString = "You must enter a string. Please re-enter.";
constexpr const char* kBinaryCaption = "Illegal Value Entered";
constexpr const char* kNotBinary = "You must enter a binary string of 0's or 1's.";
constexpr const char* kBinaryTooLong = " This string must be no more than %d characters long.";

constexpr qint64 kIntegerMinimum = std::numeric_limits<qint32>::min();
constexpr qint64 kIntegerMaximum = std::numeric_limits<qint32>::max();
constexpr int kDecimalBase = 10;

bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool IsSign(QChar c)
{
    return c == QLatin1Char('+') || c == QLatin1Char('-');
}

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QString WithoutBlanks(const QString& entry)
{
    QString result;
    result.reserve(entry.size());
    for (QChar c : entry) {
        if (!IsBlank(c))
            result += c;
    }
    return result;
}

ValidationFailure NumberFailure(const QString& text)
{
    return {text, QString::fromLatin1(kNumberCaption), MessageIcon::Information};
}

/// Skips the digits from \p at; returns how many there were.
int SkipDigits(const QString& text, qsizetype& at)
{
    int count = 0;
    while (at < text.size() && IsDigit(text[at])) {
        ++at;
        ++count;
    }
    return count;
}

/// True when \p text is a whole decimal floating-point number: sign, mantissa
/// with at most one point and at least one digit, optional exponent.
bool IsFloatingPointSyntax(const QString& text)
{
    qsizetype at = 0;
    if (at < text.size() && IsSign(text[at]))
        ++at;
    int mantissaDigits = SkipDigits(text, at);
    if (at < text.size() && text[at] == QLatin1Char('.')) {
        ++at;
        mantissaDigits += SkipDigits(text, at);
    }
    if (mantissaDigits == 0)
        return false;
    if (at < text.size() && (text[at] == QLatin1Char('e') || text[at] == QLatin1Char('E'))) {
        ++at;
        if (at < text.size() && IsSign(text[at]))
            ++at;
        if (SkipDigits(text, at) == 0)
            return false;
    }
    return at == text.size();
}

}  // namespace

std::variant<qint32, ValidationFailure> ValidateInteger(const QString& entry)
{
    const QString text = WithoutBlanks(entry);
    qsizetype at = 0;
    const bool negative = !text.isEmpty() && text[0] == QLatin1Char('-');
    if (!text.isEmpty() && IsSign(text[0]))
        ++at;
    if (at == text.size())
        return NumberFailure(QString::fromLatin1(kNotAnInteger));

    // The magnitude stops growing once it is past the range, so that any
    // number of digits is read without overflow.
    qint64 magnitude = 0;
    bool outOfRange = false;
    for (; at < text.size(); ++at) {
        if (!IsDigit(text[at]))
            return NumberFailure(QString::fromLatin1(kNotAnInteger));
        if (!outOfRange) {
            magnitude = magnitude * kDecimalBase + (text[at].unicode() - u'0');
            outOfRange = magnitude > -kIntegerMinimum;
        }
    }
    const qint64 value = negative ? -magnitude : magnitude;
    if (outOfRange || value < kIntegerMinimum || value > kIntegerMaximum) {
        return NumberFailure(QString::asprintf(kIntegerOutOfRange, static_cast<long>(kIntegerMinimum),
                                               static_cast<long>(kIntegerMaximum)));
    }
    return static_cast<qint32>(value);
}

std::variant<double, ValidationFailure> ValidateFloatingPoint(const QString& entry)
{
    const QString text = WithoutBlanks(entry);
    if (!IsFloatingPointSyntax(text))
        return NumberFailure(QString::fromLatin1(kNotAFloatingPointNumber));
    // The C locale reads the point whatever the user's locale says. Its "ok"
    // is false for a value too small to hold as well, which reads as zero and
    // is kept; only a value too large to hold is refused.
    const double value = QLocale::c().toDouble(text);
    if (!std::isfinite(value))
        return NumberFailure(QString::fromLatin1(kNotAFloatingPointNumber));
    return value;
}

std::variant<QString, ValidationFailure> ValidateText(const QString& entry, bool valueRequired)
{
    if (valueRequired && WithoutBlanks(entry).isEmpty())
        return ValidationFailure{QString::fromLatin1(kNoString), QString::fromLatin1(kNumberCaption),
                                 MessageIcon::Information};
    return entry;
}

std::variant<QString, ValidationFailure> ValidateBinaryText(const QString& entry, int demandedLength)
{
    const QString bits = WithoutBlanks(entry);
    const bool onlyBits = std::all_of(bits.begin(), bits.end(), [](QChar c) {
        return c == QLatin1Char('0') || c == QLatin1Char('1');
    });
    const bool tooLong = demandedLength > 0 && bits.size() > demandedLength;
    if (!onlyBits || tooLong) {
        QString text = QString::fromLatin1(kNotBinary);
        if (demandedLength > 0)
            text += QString::asprintf(kBinaryTooLong, demandedLength);
        return ValidationFailure{text, QString::fromLatin1(kBinaryCaption), MessageIcon::Exclamation};
    }
    if (demandedLength > 0)
        return bits.rightJustified(demandedLength, QLatin1Char('0'));
    return bits;
}

}  // namespace vexa::server
