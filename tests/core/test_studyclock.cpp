// The study clock: the texts it shows, what a tick counts and when it
// pauses, the layout rule for the screen width and the study speed.

#include "core/studyclock.h"

#include <gtest/gtest.h>

#include "core/gbktext.h"

namespace {

struct ClockTextCase {
    int seconds;
    const char* text;
};

TEST(FormatClock, WritesHoursMinutesSecondsWithHoursWrappingAtSixty) {
    const ClockTextCase cases[] = {
        {0, "00:00:00"},         {1, "00:00:01"},         {59, "00:00:59"},  {60, "00:01:00"},
        {3599, "00:59:59"},      {3600, "01:00:00"},      {300, "00:05:00"}, {59 * 3600 + 59 * 60 + 59, "59:59:59"},
        {60 * 3600, "00:00:00"}, {61 * 3600, "01:00:00"}, {-5, "00:00:00"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatClock(c.seconds), c.text) << c.seconds;
}

// A study list with the counters a tick works on.
struct Counters {
    int ActiveSeconds = 1;
    int TotalTime = 0;
    int ThisLoopTime = 0;
    int IdleSeconds = 0;
    int IdleLimit = 300;
    int ShownCount = 0;
    int GradeCount[6] = {0, 0, 0, 0, 0, 0};
    int CurrentGrade = 0;
    int Step = 0;
};

class StudyClockTick : public ::testing::Test {
protected:
    StudyClockTexts Tick() {
        return clock.Tick(CountersOf(list), [this] { ++pauses; });
    }

    TStudyClock clock;
    Counters list;
    int pauses = 0;
};

TEST_F(StudyClockTick, ShowsEachClockBeforeCountingTheSecond) {
    list.TotalTime = 61 * 3600;
    list.ThisLoopTime = 59;
    const auto texts = Tick();
    EXPECT_EQ(texts.thisTime, "00:00:01");
    EXPECT_EQ(texts.totalTime, "01:00:00");
    EXPECT_EQ(texts.loopTime, "00:00:59");
    EXPECT_EQ(clock.RunSeconds, 2);
    EXPECT_EQ(list.ActiveSeconds, 2);
    EXPECT_EQ(list.TotalTime, 61 * 3600 + 1);
    EXPECT_EQ(list.ThisLoopTime, 60);
    EXPECT_EQ(list.IdleSeconds, 1);
    EXPECT_EQ(pauses, 0);

    EXPECT_EQ(Tick().thisTime, "00:00:02");
}

TEST_F(StudyClockTick, SpeedAndTimeLeftFollowWordsShownAndWordsLeft) {
    // 3 words in 90 active seconds is 2 a minute; 10 words left take 5 minutes.
    list.ActiveSeconds = 89;
    list.ShownCount = 3;
    list.GradeCount[2] = 12;
    list.CurrentGrade = 2;
    list.Step = 2;
    const auto texts = Tick();
    EXPECT_EQ(list.ActiveSeconds, 90);
    EXPECT_EQ(texts.speed, "2" + Gbk(" 词/分"));
    ASSERT_TRUE(texts.leftTime.has_value());
    EXPECT_EQ(*texts.leftTime, "00:05:00");
}

TEST_F(StudyClockTick, TimeLeftKeepsItsTextWithoutSpeedOrWordsLeft) {
    struct Case {
        const char* name;
        int shown, atGrade, step;
    } cases[] = {
        {"nothing shown yet", 0, 10, 0},
        {"speed truncates to zero", 1, 10, 0},
        {"at the last word of the grade", 30, 10, 10},
        {"grade empty", 30, 0, 0},
    };
    for (const auto& c : cases) {
        Counters fresh;
        fresh.ActiveSeconds = 89;
        fresh.ShownCount = c.shown;
        fresh.GradeCount[0] = c.atGrade;
        fresh.Step = c.step;
        TStudyClock clock2;
        const auto texts = clock2.Tick(CountersOf(fresh), {});
        EXPECT_FALSE(texts.leftTime.has_value()) << c.name;
    }
    Counters speedOnly;
    speedOnly.ActiveSeconds = 89;
    speedOnly.ShownCount = 1;
    EXPECT_EQ(TStudyClock().Tick(CountersOf(speedOnly), {}).speed, "0" + Gbk(" 词/分"));
}

TEST_F(StudyClockTick, IdleLimitPausesAndTakesTheIdleTimeOutOfTheThreeClocks) {
    list.TotalTime = 1000;
    list.ThisLoopTime = 500;
    for (int i = 0; i < 299; ++i) Tick();
    EXPECT_EQ(pauses, 0);
    EXPECT_EQ(list.IdleSeconds, 299);

    Tick();
    EXPECT_EQ(pauses, 1);
    EXPECT_EQ(clock.RunSeconds, 1);
    EXPECT_EQ(list.TotalTime, 1000);
    EXPECT_EQ(list.ThisLoopTime, 500);
    EXPECT_EQ(list.ActiveSeconds, 301);  // the speed does count the idle time
    EXPECT_EQ(list.IdleSeconds, 300);
}

TEST_F(StudyClockTick, PauseRunsBeforeTheClocksAreSetBack) {
    list.IdleSeconds = 299;
    list.TotalTime = 400;
    int totalSeenByPause = -1;
    clock.Tick(CountersOf(list), [&] { totalSeenByPause = list.TotalTime; });
    EXPECT_EQ(totalSeenByPause, 401);
    EXPECT_EQ(list.TotalTime, 101);
}

TEST_F(StudyClockTick, TakingIdleTimeBackNeverGoesBelowZero) {
    list.IdleSeconds = 299;
    list.TotalTime = 10;
    list.ThisLoopTime = 0;
    Tick();
    EXPECT_EQ(list.TotalTime, 0);
    EXPECT_EQ(list.ThisLoopTime, 0);
    EXPECT_EQ(clock.RunSeconds, 0);
    EXPECT_EQ(Tick().loopTime, "00:00:00");
}

TEST_F(StudyClockTick, KeyPressesKeepTheClockFromPausing) {
    for (int i = 0; i < 600; ++i) {
        if (i % 100 == 0) list.IdleSeconds = 0;
        Tick();
    }
    EXPECT_EQ(pauses, 0);
    EXPECT_EQ(clock.RunSeconds, 601);
}

TEST(ScreenLayout, FollowsTheScreenWidth) {
    struct Case {
        int width, border;
        bool readModes;
    } cases[] = {
        {640, 0, false}, {800, 0, true}, {801, 50, true}, {810, 50, true}, {811, 50, true}, {1024, 50, true},
    };
    for (const auto& c : cases) {
        const auto layout = LayoutForScreenWidth(c.width);
        EXPECT_EQ(layout.borderWidth, c.border) << c.width;
        EXPECT_EQ(layout.showReadModes, c.readModes) << c.width;
    }
}

TEST(StudySpeed, TruncatesAndSurvivesLargeCounts) {
    EXPECT_EQ(StudySpeed(3, 90), 2);
    EXPECT_EQ(StudySpeed(0, 90), 0);
    EXPECT_EQ(StudySpeed(5, 0), 0);
    EXPECT_EQ(StudySpeed(100000000, 6000000), 1000);
}

}  // namespace
