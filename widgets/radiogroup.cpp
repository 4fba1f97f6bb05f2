#include "widgets/radiogroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

RadioGroup::RadioGroup(const QString& title, const QStringList& items, int columns, QWidget* parent)
    : FramedBox(title, parent), group_(new QButtonGroup(this)) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, title.isEmpty() ? 4 : fontMetrics().height() + 2, 4, 4);
    grid->setSpacing(2);
    columns = std::max(columns, 1);
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setFocusPolicy(Qt::NoFocus);
        group_->addButton(button, i);
        grid->addWidget(button, i % rows, i / rows);  // fills column by column
        buttons_.push_back(button);
    }
    connect(group_, &QButtonGroup::idClicked, this, &RadioGroup::itemClicked);
}

int RadioGroup::ItemIndex() const { return group_->checkedId(); }

void RadioGroup::SetItemIndex(int index) {
    if (QRadioButton* button = buttons_.value(index)) button->setChecked(true);
}

QString RadioGroup::ItemText(int index) const {
    QRadioButton* button = buttons_.value(index);
    return button ? button->text() : QString();
}

void RadioGroup::SetItemText(int index, const QString& text) {
    if (QRadioButton* button = buttons_.value(index)) button->setText(text);
}
