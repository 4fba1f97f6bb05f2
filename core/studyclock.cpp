#include "core/studyclock.h"

#include <cstdint>

#include "core/gbktext.h"
#include "core/numbertext.h"

namespace {

void AppendTwoDigits(std::string& out, int value) {
    out += static_cast<char>('0' + value / 10);
    out += static_cast<char>('0' + value % 10);
}

// Taking the idle time back out never drives a clock below zero: a negative
// total would be written into the library file.
void TakeBack(int& clock, int seconds) { clock = clock > seconds ? clock - seconds : 0; }

}  // namespace

std::string FormatClock(int seconds) {
    if (seconds < 0) seconds = 0;
    std::string text;
    text.reserve(8);
    AppendTwoDigits(text, (seconds / 3600) % 60);
    text += ':';
    AppendTwoDigits(text, (seconds / 60) % 60);
    text += ':';
    AppendTwoDigits(text, seconds % 60);
    return text;
}

int StudySpeed(int shownCount, int activeSeconds) {
    if (activeSeconds <= 0) return 0;
    return static_cast<int>(static_cast<int64_t>(shownCount) * 60 / activeSeconds);
}

StudyClockTexts TStudyClock::Tick(const StudyClockCounters& c, const std::function<void()>& pause) {
    StudyClockTexts texts;
    texts.thisTime = FormatClock(RunSeconds);
    ++RunSeconds;
    ++c.ActiveSeconds;
    texts.totalTime = FormatClock(c.TotalTime);
    ++c.TotalTime;
    texts.loopTime = FormatClock(c.ThisLoopTime);
    ++c.ThisLoopTime;

    ++c.IdleSeconds;
    if (c.IdleSeconds >= c.IdleLimit) {
        if (pause) pause();
        // The idle stretch is not study time; the speed still counts it.
        TakeBack(RunSeconds, c.IdleLimit);
        TakeBack(c.TotalTime, c.IdleLimit);
        TakeBack(c.ThisLoopTime, c.IdleLimit);
    }

    const int speed = StudySpeed(c.ShownCount, c.ActiveSeconds);
    texts.speed = IntToStr(speed) + Gbk(" 词/分");

    const int left = c.WordsAtGrade - c.Step;
    if (left > 0 && speed > 0) texts.leftTime = FormatClock(static_cast<int>(static_cast<int64_t>(left) * 60 / speed));
    return texts;
}

ScreenLayout LayoutForScreenWidth(int screenWidth) {
    return ScreenLayout{screenWidth <= 800 ? 0 : 50, screenWidth != 640};
}
