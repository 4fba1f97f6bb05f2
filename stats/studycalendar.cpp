#include "stats/studycalendar.h"

#include <QDate>
#include <QPainter>
#include <algorithm>

#include "core/journal.h"

namespace {
constexpr int kWeeks = 53;
constexpr int kCell = 9;
constexpr int kGap = 2;
}  // namespace

StudyCalendar::StudyCalendar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Calendar"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void StudyCalendar::SetDays(const std::map<std::string, int>& minutes, const std::string& today) {
    minutes_ = minutes;
    today_ = today;
    update();
}

int StudyCalendar::MinutesOn(const std::string& day) const {
    const auto it = minutes_.find(day);
    return it == minutes_.end() ? 0 : it->second;
}

int StudyCalendar::ShadeOf(int minutes) {
    if (minutes <= 0) return 0;
    if (minutes < 10) return 1;
    if (minutes < 30) return 2;
    if (minutes < 60) return 3;
    return 4;
}

void StudyCalendar::SetColours(const QColor& empty, const QColor& full) {
    empty_ = empty;
    full_ = full;
    update();
}

QSize StudyCalendar::sizeHint() const { return {kWeeks * (kCell + kGap), 7 * (kCell + kGap)}; }

QSize StudyCalendar::minimumSizeHint() const { return sizeHint(); }

void StudyCalendar::paintEvent(QPaintEvent*) {
    if (today_.empty()) return;
    QPainter painter(this);
    const int step = std::max(4, std::min(width() / kWeeks, height() / 7));
    const int cell = std::max(3, step - kGap);
    // The last column ends with today; its row is today's weekday.
    const QDate last = QDate::fromString(QString::fromStdString(today_), Qt::ISODate);
    const int lastRow = last.dayOfWeek() % 7;  // Sunday on top
    for (int column = 0; column < kWeeks; ++column) {
        for (int row = 0; row < 7; ++row) {
            const int back = (kWeeks - 1 - column) * 7 + (lastRow - row);
            if (back < 0 || back > 364) continue;
            const std::string day = last.addDays(-back).toString(Qt::ISODate).toStdString();
            const int shade = ShadeOf(MinutesOn(day));
            const double t = shade / 4.0;
            const QColor colour = shade == 0
                                      ? empty_
                                      : QColor::fromRgbF(empty_.redF() + (full_.redF() - empty_.redF()) * t,
                                                         empty_.greenF() + (full_.greenF() - empty_.greenF()) * t,
                                                         empty_.blueF() + (full_.blueF() - empty_.blueF()) * t);
            painter.fillRect(column * step, row * step, cell, cell, colour);
        }
    }
}
