#include "shell/syncconflictdialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/gbktext.h"
#include "core/wordlist.h"
#include "widgets/buttons.h"
#include "widgets/screentext.h"

namespace {

QString StatsText(const ConflictSide& side) {
    if (!side.stats.readable) return U("（无法读取）");
    QString text = U("学过 %1 词（共 %2 词）\n").arg(side.stats.studied).arg(side.stats.words);
    for (int grade = kTopGrade; grade >= 0; --grade) {
        text += U("%1级：%2 词").arg(grade).arg(side.stats.perGrade[static_cast<size_t>(grade)]);
        text += grade % 2 == 0 ? "\n" : U("　");
    }
    return text.trimmed();
}

QLabel* Cell(const QString& text, QWidget* parent, const QString& name = QString()) {
    auto* label = new QLabel(text, parent);
    if (!name.isEmpty()) label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

SyncConflictDialog::SyncConflictDialog(const SyncConflict& conflict, QWidget* parent) : QDialog(parent) {
    setObjectName("SyncConflictDialog");
    setWindowTitle(U("同步：两边都学过这个词库"));
    auto* layout = new QVBoxLayout(this);
    QString name = Screen(conflict.name);
    if (name.endsWith(".lx")) name.chop(3);
    auto* intro = new QLabel(U("词库“%1”在这台电脑和另一台电脑上都学过。请选择要保留的版本；"
                               "另一个版本会放进“进度备份”，以后仍可恢复。")
                                 .arg(name),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* grid = new QGridLayout;
    grid->addWidget(Cell(U("本机的版本"), this), 0, 1);
    grid->addWidget(Cell(U("服务器上的版本"), this), 0, 2);
    grid->addWidget(Cell(U("电脑"), this), 1, 0);
    grid->addWidget(Cell(Screen(conflict.local.gbkComputer), this, "LabelLocalComputer"), 1, 1);
    grid->addWidget(Cell(Screen(conflict.remote.gbkComputer), this, "LabelRemoteComputer"), 1, 2);
    grid->addWidget(Cell(U("最后学习"), this), 2, 0);
    grid->addWidget(Cell(Screen(conflict.local.gbkTime), this, "LabelLocalTime"), 2, 1);
    grid->addWidget(Cell(Screen(conflict.remote.gbkTime), this, "LabelRemoteTime"), 2, 2);
    grid->addWidget(Cell(U("进度"), this), 3, 0);
    grid->addWidget(Cell(StatsText(conflict.local), this, "LabelLocalStats"), 3, 1);
    grid->addWidget(Cell(StatsText(conflict.remote), this, "LabelRemoteStats"), 3, 2);
    layout->addLayout(grid);

    ButtonKeepLocal = NewButton("ButtonKeepLocal", "保留本机的版本", this);
    ButtonKeepRemote = NewButton("ButtonKeepRemote", "保留服务器上的版本", this);
    ButtonStopSync = NewButton("ButtonStopSync", "停止同步", this);
    layout->addLayout(NewButtonRow({ButtonKeepLocal, ButtonKeepRemote, ButtonStopSync}));
    connect(ButtonKeepLocal, &QPushButton::clicked, this, [this] {
        choice_ = ConflictChoice::KeepLocal;
        accept();
    });
    connect(ButtonKeepRemote, &QPushButton::clicked, this, [this] {
        choice_ = ConflictChoice::KeepRemote;
        accept();
    });
    connect(ButtonStopSync, &QPushButton::clicked, this, &QDialog::reject);
}

ConflictChoice AskSyncConflict(QWidget* parent, const SyncConflict& conflict) {
    SyncConflictDialog dialog(conflict, parent);
    dialog.exec();
    return dialog.Choice();
}
