#include <gtest/gtest.h>

#include "services.h"
#include "testing.h"

namespace {
// 14 December 2006, 18:48:05 on the wall clock.
constexpr std::int64_t kDate = 1166122085;

struct ClockTest : ::testing::Test {
    void SetUp() override { Testing_ResetServices(); }
    void TearDown() override { Testing_ResetServices(); }
};
}  // namespace

TEST_F(ClockTest, DateFormatFields) {
    const struct {
        const char* mask;
        const char* text;
    } cases[] = {
        {" - %yyyy.%mm.%dd-%hh.%ii", " - 2006.12.14-18.48"},
        {"%YYYY%Mm%dD %Hh:%II:%SS", "20061214 18:48:05"},
        {"%yy", "06"},
        {"%ss%", "05%"},
        {"%x %y 100%", "%x %y 100%"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Date_Format(c.mask, kDate), c.text) << c.mask;
    EXPECT_EQ(Date_Format("%yyyy-%mm-%dd %hh:%ii:%ss", 0), "1970-01-01 00:00:00");
}

TEST_F(ClockTest, ManualClockDrivesElapsedDelayAndDate) {
    Testing_UseManualClock(true);
    const std::int64_t t0 = ElapsedMilliseconds();
    Delay(30);
    Delay(-5);
    Testing_AdvanceClock(12);
    EXPECT_EQ(ElapsedMilliseconds() - t0, 42);
    EXPECT_EQ(Testing_TotalDelayed(), 30);

    Testing_SetDateNow(kDate);
    EXPECT_EQ(Date_Now(), kDate);
    Testing_AdvanceClock(2500);
    EXPECT_EQ(Date_Now(), kDate + 2);
}

TEST_F(ClockTest, RealClockMovesAndDateIsLocal) {
    const std::int64_t t0 = ElapsedMilliseconds();
    Delay(5);
    EXPECT_GE(ElapsedMilliseconds() - t0, 5);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // The wall-clock hour shows without any zone shift.
    const std::string hour = Date_Format("%hh", Date_Now());
    EXPECT_TRUE(Val(hour) == local.tm_hour || Val(hour) == (local.tm_hour + 1) % 24) << hour;
}
