#include "platform/AnsiText.h"

#include <gtest/gtest.h>

#include <QSet>

#include <string>

namespace vexa {
namespace {

TEST(AnsiText, EveryByteSurvivesTheRoundTripAsItsOwnCharacter)
{
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all.push_back(static_cast<char>(byte));

    const QString text = FromAnsi(all);
    ASSERT_EQ(text.size(), 256);
    QSet<char16_t> distinct;
    for (QChar c : text)
        distinct.insert(c.unicode());
    EXPECT_EQ(distinct.size(), 256);
    EXPECT_EQ(ToAnsi(text), all);
}

TEST(AnsiText, BytesMapToTheirWindows1252Characters)
{
    const struct {
        unsigned char byte;
        char16_t character;
    } cases[] = {
        {0x00, u'\u0000'}, {0x41, u'A'},      {0x7F, u'\u007F'}, {0x80, u'\u20AC'},
        {0x81, u'\u0081'}, {0x83, u'\u0192'}, {0x8A, u'\u0160'}, {0x8D, u'\u008D'},
        {0x8F, u'\u008F'}, {0x90, u'\u0090'}, {0x92, u'\u2019'}, {0x96, u'\u2013'},
        {0x99, u'\u2122'}, {0x9D, u'\u009D'}, {0x9F, u'\u0178'}, {0xA0, u'\u00A0'},
        {0xB0, u'\u00B0'}, {0xE9, u'\u00E9'}, {0xFF, u'\u00FF'},
    };
    for (const auto& each : cases) {
        const std::string byte(1, static_cast<char>(each.byte));
        EXPECT_EQ(FromAnsi(byte), QString(QChar(each.character))) << int(each.byte);
        EXPECT_EQ(ToAnsi(QString(QChar(each.character))), byte) << int(each.byte);
    }
}

TEST(AnsiText, UnrepresentableCharactersBecomeQuestionMarks)
{
    const struct {
        QString text;
        std::string bytes;
    } cases[] = {
        {QStringLiteral("\u03A9 Ohm"), "? Ohm"},
        // The C1 controls whose bytes carry a printable character.
        {QString(QChar(u'\u0080')), "?"},
        {QString(QChar(u'\u009F')), "?"},
        {QStringLiteral("\u0100"), "?"},
        // One character outside the basic plane, one question mark.
        {QString::fromUtf8("a\xF0\x9F\x98\x80" "b"), "a?b"},
        {QString(QChar(u'\xD83D')), "?"},
        {QStringLiteral("25 \u00B0C \u20AC"), "25 \xB0" "C \x80"},
    };
    for (const auto& each : cases)
        EXPECT_EQ(ToAnsi(each.text), each.bytes) << each.text.toStdString();
}

TEST(AnsiText, LocalPathsAreUtf8)
{
    const std::string bytes = "/data/M\xC3\xBCller/\xE2\x82\xAC.vxd";
    const QString path = QStringLiteral("/data/M\u00FCller/\u20AC.vxd");
    EXPECT_EQ(FromLocalPath(bytes), path);
    EXPECT_EQ(ToLocalPath(path), bytes);
}

}  // namespace
}  // namespace vexa
