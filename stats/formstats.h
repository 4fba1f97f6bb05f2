#pragma once
// The statistics page "学习统计": what the study journal holds, as figures
// and charts. Today and the streak, a calendar of the year, the last 30, 90
// or 365 days, the current library's words per grade over time, a forecast,
// and the words answered wrong most often, which the learner can add to the
// favourites; "导出" writes every answer as CSV. It only reads the journal;
// what it asks of other windows it announces as signals.

#include <QWidget>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "core/journal.h"

class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;
class StudyCalendar;

class TformStats : public QWidget {
    Q_OBJECT
public:
    explicit TformStats(QWidget* parent = nullptr);

    // Reads the journal afresh and shows the page for `library`.
    void ShowFor(const Journal& journal, const LibraryProgress& library);
    // Reads the journal again (after the learner chose another span).
    void Refresh();
    // The program's colour scheme (0x00BBGGRR values).
    void SetColours(int fontColor, int backColor);
    // The clock "today" goes by; tests shift it.
    std::function<std::time_t()> now = [] { return std::time(nullptr); };
    // The days of the span the charts show (30, 90 or 365).
    int SpanDays() const;

    QLabel* LabelProblem = nullptr;  // what could not be read
    QLabel* LabelToday = nullptr;
    QLabel* LabelStreak = nullptr;
    QComboBox* ComboSpan = nullptr;
    QTabWidget* Tabs = nullptr;
    StudyCalendar* Calendar = nullptr;
    QLabel* LabelForecast = nullptr;
    QChartView* ChartAnswers = nullptr;  // right and wrong per day, right share
    QChartView* ChartMinutes = nullptr;
    QChartView* ChartGrades = nullptr;
    QTableWidget* TableWrong = nullptr;
    QPushButton* ButtonFavourites = nullptr;
    QPushButton* ButtonExport = nullptr;
    QPushButton* ButtonClose = nullptr;

signals:
    // The learner chose these words (GBK) to drill in the favourites.
    void addToFavourites(const std::vector<std::string>& gbkWords);
    // The page was closed.
    void closed();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void BuildLayout();
    void FillToday(const std::string& today);
    void FillDays(const std::string& today);
    void FillGrades();
    void FillForecast(const std::string& today);
    void FillWrongWords(const std::string& today);
    void AddChosenToFavourites();
    void ExportAnswers();

    const Journal* journal_ = nullptr;
    LibraryProgress library_;
};
