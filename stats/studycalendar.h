#pragma once
// The year of study at a glance: one square per day of the last year, a
// column per week, shaded by the minutes studied that day.

#include <QWidget>
#include <map>
#include <string>

class StudyCalendar : public QWidget {
    Q_OBJECT
public:
    explicit StudyCalendar(QWidget* parent = nullptr);
    // `minutes` by day ("YYYY-MM-DD"); `today` is the last square.
    void SetDays(const std::map<std::string, int>& minutes, const std::string& today);
    // The minutes a square shows; 0 for a day without study.
    int MinutesOn(const std::string& day) const;
    // The shade of a day's square: 0 (no study) to 4 (an hour or more).
    static int ShadeOf(int minutes);
    void SetColours(const QColor& empty, const QColor& full);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::map<std::string, int> minutes_;
    std::string today_;
    QColor empty_{0xEB, 0xED, 0xF0};
    QColor full_{0x21, 0x6E, 0x39};
};
