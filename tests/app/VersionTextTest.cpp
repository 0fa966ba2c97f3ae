#include "app/VersionText.h"

#include <QFile>

#include <gtest/gtest.h>

namespace vexa::app {
namespace {

TEST(VersionText, StartsWithTheVersionAndEndsWithALineEnd)
{
    const QString text = VersionText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("VEXA\nVersion 3.08 - March 2001\n")));
    EXPECT_TRUE(text.endsWith(QLatin1Char('\n')));
    EXPECT_GT(text.size(), QString::fromLatin1(kVersionHeading).size() + 1);
    EXPECT_FALSE(NoticeLine().contains(QLatin1Char('\n')));
}

TEST(VersionText, TheProgramFileHoldsTheLicenceLinesOnlyScrambled)
{
    const QString licence = VersionText().mid(QString::fromLatin1(kVersionHeading).size()).trimmed();
    const QByteArray plain = licence.toLatin1();
    ASSERT_FALSE(plain.isEmpty());
    QFile program(QStringLiteral("/proc/self/exe"));
    ASSERT_TRUE(program.open(QIODevice::ReadOnly));
    const QByteArray image = program.readAll();
    EXPECT_FALSE(image.contains(plain.left(24)));
    EXPECT_TRUE(image.contains(Unscramble(plain.left(24))));
}

}  // namespace
}  // namespace vexa::app
