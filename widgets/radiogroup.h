#pragma once
// A framed group of radio buttons addressed by item index, laid out in
// columns. Only a click by the learner is reported; setting the index from
// the program is silent.

#include <QStringList>
#include <QVector>
#include "widgets/framedbox.h"

class QButtonGroup;
class QGridLayout;
class QRadioButton;

class RadioGroup : public FramedBox {
    Q_OBJECT
public:
    explicit RadioGroup(const QString& title, const QStringList& items, int columns = 1, QWidget* parent = nullptr);

    int ItemIndex() const;  // -1 when no item is checked
    void SetItemIndex(int index);
    int ItemCount() const { return static_cast<int>(buttons_.size()); }
    QString ItemText(int index) const;
    void SetItemText(int index, const QString& text);
    QRadioButton* Item(int index) const { return buttons_.value(index); }

signals:
    void itemClicked(int index);

private:
    QButtonGroup* group_;
    QVector<QRadioButton*> buttons_;
};
