#pragma once
// The study window's one-second clock: the run, cycle and total clocks, the
// words-per-minute speed, the estimate of the time left at the current grade
// and the pause after five idle minutes. The window owns a TStudyClock, calls
// Tick once a second with views of the study list's counters and only shows
// the texts it gets back.

#include <functional>
#include <optional>
#include <string>

#include "core/wordlist.h"

// Seconds as "hh:mm:ss". The hour field wraps at 60 (61 hours read
// 01:00:00), as the clock always has; a negative count shows as 00:00:00.
std::string FormatClock(int seconds);

// The counters one tick reads and changes; they live in the study list.
struct StudyClockCounters {
    int& ActiveSeconds;
    int& TotalTime;
    int& ThisLoopTime;
    int& IdleSeconds;
    int IdleLimit;
    int ShownCount;
    int WordsAtGrade;  // words of the grade being studied
    int Step;          // words of that grade before the current one
};

// Builds the view for any study list that carries the counters under their
// usual names (TWordLib does).
template <class StudyList>
StudyClockCounters CountersOf(StudyList& list) {
    const int grade = list.CurrentGrade;
    const int atGrade = grade >= 0 && grade < kGradeLevels ? list.GradeCount[grade] : 0;
    return StudyClockCounters{list.ActiveSeconds, list.TotalTime,  list.ThisLoopTime, list.IdleSeconds,
                              list.IdleLimit,     list.ShownCount, atGrade,           list.Step};
}

// What one tick shows. Texts are GBK.
struct StudyClockTexts {
    std::string thisTime;                 // LabelThisTime and its large copy PanelThisTime
    std::string totalTime;                // LabelTotalTime
    std::string loopTime;                 // LabelThisLoopTime
    std::string speed;                    // LabelSpeed, "<n> 词/分"
    std::optional<std::string> leftTime;  // LabelLeftTime; nothing keeps the old text
};

// Words per minute: words shown × 60 div active seconds (0 while no second
// has passed).
int StudySpeed(int shownCount, int activeSeconds);

class TStudyClock {
public:
    // Seconds since the study window was made; the first tick shows 00:00:01.
    int RunSeconds = 1;

    // One tick. `pause` is the pause button's handler; it runs when the idle
    // limit is reached, before the idle time is taken back out of the clocks.
    StudyClockTexts Tick(const StudyClockCounters& counters, const std::function<void()>& pause);
};

// How the study window lays itself out for a given screen width.
struct ScreenLayout {
    int borderWidth;     // 0 on screens up to 800 pixels, else 50
    bool showReadModes;  // Panel2 hides on a 640-pixel screen
};
ScreenLayout LayoutForScreenWidth(int screenWidth);
