#include "server/dialogs/InputValidation.h"

#include <gtest/gtest.h>

#include <optional>

namespace vexa::server {
namespace {

const QString kNumberCaption = QStringLiteral("ERROR: Illegal Value Entered");
const QString kNotAnInteger = QStringLiteral("Value entered is not a valid integer. Please re-enter.");
const QString kOutOfRange = QStringLiteral(
    "Integer number out of range. You must enter a number between -2147483648 and 2147483647");
const QString kNotAFloat = QStringLiteral("Value entered is not a valid floating point number. Please re-enter.");

template <class T>
std::optional<ValidationFailure> FailureOf(const std::variant<T, ValidationFailure>& outcome)
{
    if (const auto* failure = std::get_if<ValidationFailure>(&outcome))
        return *failure;
    return std::nullopt;
}

TEST(ValidateInteger, ReadsSignedNumbersWithoutTheirBlanksAndRefusesTheRest)
{
    const struct {
        const char* entry;
        std::optional<qint32> value;  ///< nullopt: refused with \c failure
        const QString* failure;
    } cases[] = {
        {" 10 00 ", 1000, nullptr},
        {"\t1\t2 ", 12, nullptr},
        {"0", 0, nullptr},
        {"-0", 0, nullptr},
        {"+7", 7, nullptr},
        {"- 42", -42, nullptr},
        {"007", 7, nullptr},
        {"-2147483648", -2147483647 - 1, nullptr},
        {"2147483647", 2147483647, nullptr},
        {"2147483648", std::nullopt, &kOutOfRange},
        {"-2147483649", std::nullopt, &kOutOfRange},
        {"3000000000", std::nullopt, &kOutOfRange},
        {"99999999999999999999999999", std::nullopt, &kOutOfRange},
        {"-99999999999999999999999999", std::nullopt, &kOutOfRange},
        {"12a", std::nullopt, &kNotAnInteger},
        {"", std::nullopt, &kNotAnInteger},
        {"   ", std::nullopt, &kNotAnInteger},
        {"-", std::nullopt, &kNotAnInteger},
        {"+", std::nullopt, &kNotAnInteger},
        {"+-5", std::nullopt, &kNotAnInteger},
        {"--5", std::nullopt, &kNotAnInteger},
        {"5-", std::nullopt, &kNotAnInteger},
        {"1-2", std::nullopt, &kNotAnInteger},
        {"1.0", std::nullopt, &kNotAnInteger},
        {"0x10", std::nullopt, &kNotAnInteger},
        {"\xd9\xa3", std::nullopt, &kNotAnInteger},  // an Arabic-Indic digit is no digit here
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.entry);
        const auto outcome = ValidateInteger(QString::fromUtf8(each.entry));
        if (each.value) {
            ASSERT_TRUE(std::holds_alternative<qint32>(outcome));
            EXPECT_EQ(std::get<qint32>(outcome), *each.value);
        } else {
            const auto failure = FailureOf(outcome);
            ASSERT_TRUE(failure.has_value());
            EXPECT_EQ(*failure, (ValidationFailure{*each.failure, kNumberCaption, MessageIcon::Information}));
        }
    }
}

TEST(ValidateFloatingPoint, ReadsDecimalNumbersWholeAndRefusesTheRest)
{
    const struct {
        const char* entry;
        std::optional<double> value;
    } cases[] = {
        {"1.5e3", 1500.0},
        {" 1 . 5 ", 1.5},
        {"-2.25", -2.25},
        {"+.5", 0.5},
        {"5.", 5.0},
        {"1E-2", 0.01},
        {"2e+2", 200.0},
        {"1000.000000", 1000.0},
        {"1e-400", 0.0},
        {"1e2e3", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {".", std::nullopt},
        {"e5", std::nullopt},
        {"1e", std::nullopt},
        {"1e+", std::nullopt},
        {"1.2.3", std::nullopt},
        {"1.5-3", std::nullopt},
        {"+-1", std::nullopt},
        {"1,5", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"1e999", std::nullopt},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.entry);
        const auto outcome = ValidateFloatingPoint(QString::fromLatin1(each.entry));
        if (each.value) {
            ASSERT_TRUE(std::holds_alternative<double>(outcome));
            EXPECT_DOUBLE_EQ(std::get<double>(outcome), *each.value);
        } else {
            const auto failure = FailureOf(outcome);
            ASSERT_TRUE(failure.has_value());
            EXPECT_EQ(*failure, (ValidationFailure{kNotAFloat, kNumberCaption, MessageIcon::Information}));
        }
    }
}

TEST(ValidateText, RefusesBlanksOnlyWhenAValueIsRequired)
{
    const ValidationFailure refusal{QStringLiteral("You must enter a string. Please re-enter."), kNumberCaption,
                                    MessageIcon::Information};
    const struct {
        const char* entry;
        bool required;
        bool accepted;
    } cases[] = {
        {"", false, true},       {"   ", false, true}, {" a b ", false, true},
        {"", true, false},       {"   ", true, false}, {" \t ", true, false},
        {"  word ", true, true},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(testing::Message() << '"' << each.entry << "\" required " << each.required);
        const QString entry = QString::fromLatin1(each.entry);
        const auto outcome = ValidateText(entry, each.required);
        if (each.accepted) {
            ASSERT_TRUE(std::holds_alternative<QString>(outcome));
            EXPECT_EQ(std::get<QString>(outcome), entry);  // kept as typed, blanks and all
        } else {
            EXPECT_EQ(FailureOf(outcome), refusal);
        }
    }
}

TEST(ValidateBinaryText, PadsToTheDemandedLengthAndRefusesOtherCharactersOrExcess)
{
    const QString caption = QStringLiteral("Illegal Value Entered");
    const QString base = QStringLiteral("You must enter a binary string of 0's or 1's.");
    const struct {
        const char* entry;
        int length;
        const char* result;  ///< nullptr: refused
    } cases[] = {
        {"101", 5, "00101"},
        {" 1 0 1 ", 5, "00101"},
        {"11111", 5, "11111"},
        {"", 4, "0000"},
        {"101", 0, "101"},
        {" 0 ", 0, "0"},
        {"102", 5, nullptr},
        {"111111", 5, nullptr},
        {"1 1 1 1 1 1", 5, nullptr},
        {"102", 0, nullptr},
        {"abc", -1, nullptr},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(testing::Message() << '"' << each.entry << "\" length " << each.length);
        const auto outcome = ValidateBinaryText(QString::fromLatin1(each.entry), each.length);
        if (each.result != nullptr) {
            ASSERT_TRUE(std::holds_alternative<QString>(outcome));
            EXPECT_EQ(std::get<QString>(outcome), QString::fromLatin1(each.result));
            continue;
        }
        const QString text = each.length > 0
            ? base + QStringLiteral(" This string must be no more than %1 characters long.").arg(each.length)
            : base;
        EXPECT_EQ(FailureOf(outcome), (ValidationFailure{text, caption, MessageIcon::Exclamation}));
    }
}

}  // namespace
}  // namespace vexa::server
