#include "stats/formstats.h"

#include <QApplication>
#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScreen>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <map>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/numbertext.h"
#include "core/safewrite.h"
#include "stats/studycalendar.h"
#include "widgets/buttons.h"
#include "widgets/colourvalue.h"
#include "widgets/filechooser.h"
#include "widgets/screentext.h"
#include "widgets/standabove.h"

namespace {

constexpr int kSpans[] = {30, 90, 365};
constexpr int kWrongWordsShown = 20;
constexpr QSize kDesignedSize(720, 520);
constexpr int kWrongWordsDays = 30;
const char* const kGradeNames[] = {"0级", "1级", "2级", "3级", "4级", "5级"};

// Puts `chart` into `view`, which owns it from now on; the chart it showed
// before goes.
void Show(QChartView* view, QChart* chart) {
    QChart* old = view->chart();
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(2, 2, 2, 2));
    view->setChart(chart);
    delete old;
}

int Minutes(int seconds) { return (seconds + 59) / 60; }

// An axis from 0 in `steps` whole steps up to at least `highest`.
QValueAxis* CountAxis(int highest, int steps = 5) {
    auto* axis = new QValueAxis;
    const int step = std::max(1, (highest + steps - 1) / steps);
    axis->setRange(0, step * steps);
    axis->setTickCount(steps + 1);
    axis->setLabelFormat(QStringLiteral("%d"));
    return axis;
}

const QColor kGradeColours[] = {QColor(0xE5, 0x73, 0x73), QColor(0xFF, 0xB7, 0x4D), QColor(0xFF, 0xF1, 0x76),
                                QColor(0xAE, 0xD5, 0x81), QColor(0x4F, 0xC3, 0xF7), QColor(0x79, 0x86, 0xCB)};

// Noon of a day, as the date axis counts.
qint64 MillisecondsOf(const std::string& day) {
    return QDateTime(QDate::fromString(QString::fromStdString(day), Qt::ISODate), QTime(12, 0)).toMSecsSinceEpoch();
}

std::string Percent(int part, int whole) {
    return whole > 0 ? std::to_string((part * 100 + whole / 2) / whole) + "%" : std::string("—");
}

}  // namespace

TformStats::TformStats(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("formStats"));
    setWindowTitle(U("学习统计"));
    BuildLayout();
}

void TformStats::BuildLayout() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(4);

    LabelProblem = new QLabel(this);
    LabelProblem->setObjectName(QStringLiteral("LabelProblem"));
    LabelProblem->setWordWrap(true);
    LabelProblem->setStyleSheet(QStringLiteral("color: #c00000"));
    LabelProblem->hide();
    outer->addWidget(LabelProblem);

    auto* top = new QHBoxLayout;
    LabelToday = new QLabel(this);
    LabelToday->setObjectName(QStringLiteral("LabelToday"));
    LabelToday->setWordWrap(true);
    top->addWidget(LabelToday, 1);
    LabelStreak = new QLabel(this);
    LabelStreak->setObjectName(QStringLiteral("LabelStreak"));
    top->addWidget(LabelStreak);
    outer->addLayout(top);

    Tabs = new QTabWidget(this);
    Tabs->setObjectName(QStringLiteral("Tabs"));
    outer->addWidget(Tabs, 1);

    // The year and the forecast.
    auto* yearPage = new QWidget;
    auto* year = new QVBoxLayout(yearPage);
    year->addWidget(new QLabel(U("最近一年（每格一天，颜色越深学习时间越长）")));
    Calendar = new StudyCalendar(yearPage);
    year->addWidget(Calendar);
    LabelForecast = new QLabel(yearPage);
    LabelForecast->setObjectName(QStringLiteral("LabelForecast"));
    LabelForecast->setWordWrap(true);
    year->addWidget(LabelForecast);
    year->addStretch(1);
    Tabs->addTab(yearPage, U("日历与预测"));

    // The span of days: answers, minutes.
    auto* daysPage = new QWidget;
    auto* days = new QVBoxLayout(daysPage);
    auto* spanRow = new QHBoxLayout;
    spanRow->addWidget(new QLabel(U("时间范围：")));
    ComboSpan = new QComboBox(daysPage);
    ComboSpan->setObjectName(QStringLiteral("ComboSpan"));
    for (int span : kSpans) ComboSpan->addItem(U("最近") + QString::number(span) + U("天"));
    spanRow->addWidget(ComboSpan);
    spanRow->addStretch(1);
    days->addLayout(spanRow);
    ChartAnswers = new QChartView(daysPage);
    ChartAnswers->setObjectName(QStringLiteral("ChartAnswers"));
    ChartAnswers->setRenderHint(QPainter::Antialiasing);
    days->addWidget(ChartAnswers, 3);
    ChartMinutes = new QChartView(daysPage);
    ChartMinutes->setObjectName(QStringLiteral("ChartMinutes"));
    days->addWidget(ChartMinutes, 2);
    Tabs->addTab(daysPage, U("每日学习"));

    ChartGrades = new QChartView;
    ChartGrades->setObjectName(QStringLiteral("ChartGrades"));
    ChartGrades->setRenderHint(QPainter::Antialiasing);
    Tabs->addTab(ChartGrades, U("等级变化"));

    auto* wrongPage = new QWidget;
    auto* wrong = new QVBoxLayout(wrongPage);
    TableWrong = new QTableWidget(0, 3, wrongPage);
    TableWrong->setObjectName(QStringLiteral("TableWrong"));
    TableWrong->setHorizontalHeaderLabels({U("单词"), U("答错次数"), U("最近一次答成")});
    TableWrong->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    TableWrong->verticalHeader()->hide();
    TableWrong->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableWrong->setSelectionBehavior(QAbstractItemView::SelectRows);
    wrong->addWidget(TableWrong, 1);
    ButtonFavourites = new QPushButton(U("勾选的单词加入收藏库"), wrongPage);
    ButtonFavourites->setObjectName(QStringLiteral("ButtonFavourites"));
    wrong->addWidget(ButtonFavourites, 0, Qt::AlignLeft);
    Tabs->addTab(wrongPage, U("易错单词"));

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    ButtonExport = new QPushButton(U("导出"), this);
    ButtonExport->setObjectName(QStringLiteral("ButtonExport"));
    bottom->addWidget(ButtonExport);
    ButtonClose = new QPushButton(U("关闭"), this);
    ButtonClose->setObjectName(QStringLiteral("ButtonClose"));
    bottom->addWidget(ButtonClose);
    outer->addLayout(bottom);

    connect(ComboSpan, &QComboBox::currentIndexChanged, this, [this](int) {
        if (journal_) FillDays(JournalDayOf(now()));
    });
    connect(ButtonFavourites, &QPushButton::clicked, this, [this] { AddChosenToFavourites(); });
    connect(ButtonExport, &QPushButton::clicked, this, [this] { ExportAnswers(); });
    connect(ButtonClose, &QPushButton::clicked, this, &QWidget::hide);
    LeaveOnEscape(this, {ButtonClose});
    resize(kDesignedSize);
}

int TformStats::SpanDays() const {
    const int i = ComboSpan->currentIndex();
    return kSpans[i >= 0 && i < 3 ? i : 0];
}

void TformStats::ShowFor(const Journal& journal, const LibraryProgress& library) {
    journal_ = &journal;
    library_ = library;
    Refresh();
    show();
    // As large as it is designed where the screen allows, and never larger
    // than the screen, frame included: the charts and the calendar take
    // what is left.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const QSize frame = frameGeometry().size() - size();
        resize(std::min(kDesignedSize.width(), area.width() - frame.width()),
               std::min(kDesignedSize.height(), area.height() - frame.height()));
        move(area.x() + (area.width() - frameGeometry().width()) / 2,
             area.y() + (area.height() - frameGeometry().height()) / 2);
    }
    raise();
    GiveKeyboardTo(this);
}

void TformStats::Refresh() {
    if (!journal_) return;
    const std::string today = JournalDayOf(now());
    const std::string& problem = journal_->ReadProblem();
    LabelProblem->setText(Screen(problem));
    LabelProblem->setVisible(!problem.empty());
    FillToday(today);
    FillDays(today);
    FillGrades();
    FillForecast(today);
    FillWrongWords(today);
}

void TformStats::SetColours(int fontColor, int backColor) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColourFromValue(backColor));
    palette.setColor(QPalette::WindowText, ColourFromValue(fontColor));
    setPalette(palette);
    setAutoFillBackground(true);
    // The scheme frames the page; the tabs keep the desktop's light pane
    // with dark text, where the scheme's font colour could vanish and the
    // charts and the calendar's shades read as they are meant.
    const QPalette desktop = QApplication::palette(Tabs);
    QPalette own;  // every role set, so that none comes from the scheme
    for (int group = 0; group < QPalette::NColorGroups; ++group)
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = static_cast<QPalette::ColorGroup>(group);
            const auto r = static_cast<QPalette::ColorRole>(role);
            if (r != QPalette::NoRole) own.setBrush(g, r, desktop.brush(g, r));
        }
    Tabs->setPalette(own);
}

void TformStats::FillToday(const std::string& today) {
    const std::vector<JournalDay> days = journal_->Days(today, today);
    const JournalDay d = days.empty() ? JournalDay{today} : days.front();
    LabelToday->setText(U("今天：答题 ") + QString::number(d.answers) + U(" 个，正确率 ") +
                        QString::fromStdString(Percent(d.right, d.answers)) + U("，学习 ") +
                        QString::number(Minutes(d.activeSeconds)) + U(" 分钟，升级 ") + QString::number(d.promoted) +
                        U(" 个"));
    LabelStreak->setText(U("连续学习 ") + QString::number(StreakOf(journal_->StudyDays(), today)) + U(" 天"));

    std::map<std::string, int> minutes;
    for (const JournalDay& day : journal_->Days(JournalDayPlus(today, -364), today)) {
        // A day of answers without a session's clock still shows as studied.
        minutes[day.day] = std::max(Minutes(day.activeSeconds), day.answers > 0 ? 1 : 0);
    }
    Calendar->SetDays(minutes, today);
}

void TformStats::FillDays(const std::string& today) {
    const int span = SpanDays();
    const std::string first = JournalDayPlus(today, 1 - span);
    std::map<std::string, JournalDay> byDay;
    for (const JournalDay& d : journal_->Days(first, today)) byDay[d.day] = d;

    auto* right = new QBarSet(U("正确"));
    auto* wrong = new QBarSet(U("错误"));
    right->setColor(QColor(0x4C, 0xAF, 0x50));
    wrong->setColor(QColor(0xE5, 0x39, 0x35));
    auto* share = new QLineSeries;
    share->setName(U("正确率 %"));
    auto* minutes = new QBarSet(U("学习分钟"));
    minutes->setColor(QColor(0x1E, 0x88, 0xE5));
    QStringList labels;
    int maxAnswers = 1, maxMinutes = 1;
    std::string day = first;
    for (int i = 0; i < span; ++i, day = JournalDayPlus(day, 1)) {
        const auto it = byDay.find(day);
        const JournalDay d = it == byDay.end() ? JournalDay{day} : it->second;
        right->append(d.right);
        wrong->append(d.answers - d.right);
        if (d.answers > 0) share->append(i, 100.0 * d.right / d.answers);
        minutes->append(d.activeSeconds / 60.0);
        maxAnswers = std::max(maxAnswers, d.answers);
        maxMinutes = std::max(maxMinutes, Minutes(d.activeSeconds));
        labels << QString::fromStdString(day.substr(5));
    }

    auto* answers = new QChart;
    answers->setTitle(U("最近 ") + QString::number(span) + U(" 天每日答题（正确 / 错误）与正确率，最右为今天"));
    auto* bars = new QStackedBarSeries;
    bars->append(right);
    bars->append(wrong);
    bars->setBarWidth(0.9);
    answers->addSeries(bars);
    answers->addSeries(share);
    auto* dayAxis = new QBarCategoryAxis;
    dayAxis->append(labels);
    // A date under every bar would not fit even at 30 days: the title says
    // which days the bars are.
    dayAxis->setLabelsVisible(false);
    QValueAxis* countAxis = CountAxis(maxAnswers);
    auto* percentAxis = new QValueAxis;
    percentAxis->setRange(0, 100);
    percentAxis->setLabelFormat(QStringLiteral("%d%%"));
    answers->addAxis(dayAxis, Qt::AlignBottom);
    answers->addAxis(countAxis, Qt::AlignLeft);
    answers->addAxis(percentAxis, Qt::AlignRight);
    bars->attachAxis(dayAxis);
    bars->attachAxis(countAxis);
    share->attachAxis(dayAxis);
    share->attachAxis(percentAxis);
    Show(ChartAnswers, answers);

    auto* time = new QChart;
    time->setTitle(U("每日学习时间（分钟）"));
    auto* timeBars = new QBarSeries;
    timeBars->append(minutes);
    timeBars->setBarWidth(0.9);
    time->addSeries(timeBars);
    auto* timeDays = new QBarCategoryAxis;
    timeDays->append(labels);
    timeDays->setLabelsVisible(false);
    QValueAxis* minuteAxis = CountAxis(maxMinutes, 2);  // a short chart: few labels
    time->addAxis(timeDays, Qt::AlignBottom);
    time->addAxis(minuteAxis, Qt::AlignLeft);
    timeBars->attachAxis(timeDays);
    timeBars->attachAxis(minuteAxis);
    time->legend()->hide();
    Show(ChartMinutes, time);
}

void TformStats::FillGrades() {
    auto* chart = new QChart;
    const std::vector<JournalGradeDay> history =
        library_.name.empty() ? std::vector<JournalGradeDay>{} : journal_->GradeHistory(library_.name);
    chart->setTitle(history.empty() ? U("还没有等级记录") : Screen(library_.name) + U("：各等级单词数"));
    auto* dates = new QDateTimeAxis;
    dates->setFormat(QStringLiteral("MM-dd"));
    int top = 1;
    for (const JournalGradeDay& d : history) {
        int sum = 0;
        for (int n : d.counts) sum += n;
        top = std::max(top, sum);
    }
    QValueAxis* counts = CountAxis(top);
    chart->addAxis(dates, Qt::AlignBottom);
    chart->addAxis(counts, Qt::AlignLeft);
    QLineSeries* lower = nullptr;
    for (int g = 0; g < kGradeLevels && !history.empty(); ++g) {
        auto* upper = new QLineSeries(chart);
        for (const JournalGradeDay& d : history) {
            int sum = 0;
            for (int k = 0; k <= g; ++k) sum += d.counts[static_cast<size_t>(k)];
            upper->append(static_cast<qreal>(MillisecondsOf(d.day)), sum);
        }
        // A single day is drawn as a strip one day wide.
        if (history.size() == 1) {
            const QPointF p = upper->at(0);
            upper->append(p.x() + 24.0 * 3600 * 1000, p.y());
        }
        auto* area = new QAreaSeries(upper, lower);
        area->setName(U(kGradeNames[g]));
        area->setColor(kGradeColours[g]);
        area->setBorderColor(kGradeColours[g].darker(130));
        chart->addSeries(area);
        area->attachAxis(dates);
        area->attachAxis(counts);
        lower = upper;
    }
    if (!history.empty()) {
        const qint64 first = MillisecondsOf(history.front().day);
        const qint64 last = history.size() == 1 ? first + 24LL * 3600 * 1000 : MillisecondsOf(history.back().day);
        dates->setRange(QDateTime::fromMSecsSinceEpoch(first), QDateTime::fromMSecsSinceEpoch(last));
        const qint64 days = (last - first) / (24LL * 3600 * 1000);
        dates->setTickCount(static_cast<int>(std::clamp<qint64>(days + 1, 2, 6)));
    }
    Show(ChartGrades, chart);
}

void TformStats::FillForecast(const std::string& today) {
    if (library_.name.empty()) {
        LabelForecast->setText(U("预测：请先选择词库"));
        return;
    }
    const std::string windowStart = JournalDayPlus(today, 1 - kForecastWindowDays);
    ForecastInput input;
    input.words = library_.words;
    input.studied = library_.studied;
    input.atThreeOrAbove = library_.grades[3] + library_.grades[4] + library_.grades[5];
    input.newWordsInWindow = journal_->WordsFirstAnsweredSince(library_.name, windowStart);
    input.studyDaysInWindow = journal_->DaysStudiedSince(library_.name, windowStart);
    input.grades = journal_->GradeHistory(library_.name);
    const Forecast f = ForecastAt(input, today);
    auto when = [&today](const std::optional<int>& days) {
        if (!days) return U("需要更多学习记录");
        if (*days == 0) return U("已经达到");
        return U("约在 ") + QString::fromStdString(JournalDayPlus(today, *days));
    };
    LabelForecast->setText(U("按最近14天的进度预测（") + Screen(library_.name) + U("）：\n全部单词都学过一遍：") +
                           when(f.daysToAllStudied) + U("\n全部单词达到3级以上：") + when(f.daysToAllAtThree));
}

void TformStats::FillWrongWords(const std::string& today) {
    const std::vector<JournalWrongWord> words =
        library_.name.empty()
            ? std::vector<JournalWrongWord>{}
            : journal_->MostWrong(library_.name, JournalDayPlus(today, 1 - kWrongWordsDays), kWrongWordsShown);
    TableWrong->setRowCount(static_cast<int>(words.size()));
    for (int row = 0; row < static_cast<int>(words.size()); ++row) {
        const JournalWrongWord& w = words[static_cast<size_t>(row)];
        auto* word = new QTableWidgetItem(Screen(w.word));
        word->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        word->setCheckState(Qt::Unchecked);
        TableWrong->setItem(row, 0, word);
        auto* times = new QTableWidgetItem(QString::number(w.times));
        times->setTextAlignment(Qt::AlignCenter);
        TableWrong->setItem(row, 1, times);
        TableWrong->setItem(row, 2, new QTableWidgetItem(Screen(w.lastTyped)));
    }
}

void TformStats::AddChosenToFavourites() {
    std::vector<std::string> chosen;
    for (int row = 0; row < TableWrong->rowCount(); ++row) {
        const QTableWidgetItem* item = TableWrong->item(row, 0);
        if (item && (item->checkState() == Qt::Checked || item->isSelected()))
            chosen.push_back(FromScreen(item->text()));
    }
    if (chosen.empty()) {
        ShowAppMessageUtf8("请先勾选要加入收藏库的单词");
        return;
    }
    emit addToFavourites(chosen);
}

void TformStats::ExportAnswers() {
    if (!journal_) return;
    const std::vector<JournalAnswer> answers = journal_->Answers();
    if (answers.empty()) {
        ShowAppMessageUtf8("还没有答题记录可以导出");
        return;
    }
    const std::optional<std::filesystem::path> file =
        ChooseFileToSave(this, ToNativePath(Gbk("学习记录-") + JournalDayOf(now()) + ".csv"));
    if (!file) return;
    const SaveResult saved = SafeWriteFile(*file, AnswersCsv(answers));
    if (!saved) {
        ShowAppMessage(saved.Message());
        return;
    }
    ShowAppMessage(Gbk("已导出 ") + IntToStr(static_cast<int>(answers.size())) + Gbk(" 条答题记录：\r\n") +
                   FromNativePath(*file));
}

void TformStats::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit closed();
}
