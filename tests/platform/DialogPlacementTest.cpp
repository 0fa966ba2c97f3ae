#include "platform/DialogPlacement.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

TEST(KeptOnScreen, MovesAWindowBackInsideTheMarginOnlyWhenItStandsOutside)
{
    const QRect screen(100, 50, 800, 600);  // right edge 899, bottom 649
    const QSize size(200, 100);
    constexpr int kMargin = 10;
    const struct {
        QPoint wanted;
        QPoint kept;
    } cases[] = {
        {{300, 200}, {300, 200}},   // inside: unchanged
        {{110, 60}, {110, 60}},     // exactly at the margin
        {{105, 200}, {110, 200}},   // into the left margin
        {{-500, -500}, {110, 60}},  // far off to the top left
        {{690, 200}, {690, 200}},   // right edge exactly at the margin
        {{691, 540}, {690, 540}},   // one pixel too far right
        {{2000, 2000}, {690, 540}}, // far off to the bottom right
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(testing::Message() << each.wanted.x() << "," << each.wanted.y());
        EXPECT_EQ(KeptOnScreen(each.wanted, size, screen, kMargin), each.kept);
    }
    // Too large for the screen: the top left stays visible.
    EXPECT_EQ(KeptOnScreen({400, 400}, QSize(1000, 700), screen, kMargin), QPoint(110, 60));
}

TEST(CentredOver, PutsTheWindowsCentreOnTheAreasCentre)
{
    EXPECT_EQ(CentredOver(QRect(0, 0, 800, 600), QSize(250, 100)), QPoint(275, 250));
    EXPECT_EQ(CentredOver(QRect(100, 40, 50, 20), QSize(250, 100)), QPoint(0, 0));
}

}  // namespace
}  // namespace vexa
