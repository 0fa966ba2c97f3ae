#include "server/inputs/ValueTable.h"

#include "InputTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vexa::server::test {
namespace {

constexpr double kNoTime = std::nan("");

TEST(ValueTable, KeepsTheLatestValueAndTheRangeOfEveryName)
{
    ValueTable table;
    EXPECT_EQ(table.Store("rpm", 10, kNoTime, 0, 100), ValueTable::StoreResult::Added);
    EXPECT_EQ(table.Store("temp", 5, 1.5, 1, 100), ValueTable::StoreResult::Added);
    EXPECT_EQ(table.Store("rpm", -3, 2.5, 2, 200), ValueTable::StoreResult::Updated);
    EXPECT_EQ(table.Store("rpm", 7, kNoTime, 2, 300), ValueTable::StoreResult::Updated);
    ASSERT_EQ(table.size(), 2u);
    ASSERT_EQ(table.find("rpm"), 0u);
    EXPECT_EQ(table.find("RPM"), std::nullopt);
    const ValueTable::Entry& rpm = table.entry(0);
    EXPECT_EQ(rpm.value, 7);
    EXPECT_EQ(rpm.lowest, -3);
    EXPECT_EQ(rpm.highest, 10);
    EXPECT_EQ(rpm.receivedMs, 300);
    EXPECT_EQ(rpm.input, 2);
}

TEST(ValueTable, PastTheLimitNewNamesAreRefusedAndCountedWhileKnownOnesUpdate)
{
    ValueTable table;
    for (std::size_t i = 0; i < ValueTable::kMaxNames; ++i)
        ASSERT_EQ(table.Store("n" + std::to_string(i), 1, kNoTime, 0, 0), ValueTable::StoreResult::Added);
    EXPECT_EQ(table.Store("one too many", 1, kNoTime, 0, 0), ValueTable::StoreResult::Refused);
    EXPECT_EQ(table.Store("another", 1, kNoTime, 0, 0), ValueTable::StoreResult::Refused);
    EXPECT_EQ(table.Store("n99999", 2, kNoTime, 0, 0), ValueTable::StoreResult::Updated);
    EXPECT_EQ(table.size(), ValueTable::kMaxNames);
    EXPECT_EQ(table.refusedCount(), 2u);
    EXPECT_EQ(table.entry(99999).value, 2);
}

TEST(ValueTable, LayoutPositionsAreAnsweredOnceTheirNameIsFedAndGoNanWhenStale)
{
    ValueTable table;
    table.Store("early", 1.25, kNoTime, 0, 0);
    table.BindLayout({"early", "late", "early", "never"});
    EXPECT_EQ(table.LayoutValue(0, 0), 1.25);
    EXPECT_EQ(table.LayoutValue(1, 0), std::nullopt);
    EXPECT_EQ(table.LayoutValue(2, 0), 1.25);
    EXPECT_EQ(table.LayoutValue(3, 0), std::nullopt);
    EXPECT_EQ(table.LayoutValue(4, 0), std::nullopt);
    EXPECT_EQ(table.LayoutValue(-1, 0), std::nullopt);

    table.Store("late", -0.0, kNoTime, 0, 1000);
    ASSERT_TRUE(table.LayoutValue(1, 1000).has_value());
    EXPECT_EQ(DoubleBytes(*table.LayoutValue(1, 1000)), DoubleBytes(-0.0));

    table.setStaleAfter(500);
    EXPECT_EQ(table.LayoutValue(1, 1500), -0.0);  // exactly at the limit: still fresh
    EXPECT_TRUE(std::isnan(*table.LayoutValue(1, 1501)));
    EXPECT_TRUE(std::isnan(*table.LayoutValue(0, 1501)));
    table.Store("late", 3, kNoTime, 0, 1600);
    EXPECT_EQ(table.LayoutValue(1, 1700), 3);
    table.setStaleAfter(0);
    EXPECT_EQ(table.LayoutValue(0, 1000000), 1.25);

    // A new layout forgets the old positions.
    table.BindLayout({"never"});
    EXPECT_EQ(table.LayoutValue(0, 0), std::nullopt);
    EXPECT_EQ(table.LayoutValue(1, 0), std::nullopt);
}

}  // namespace
}  // namespace vexa::server::test
