#pragma once
// The help guide; created hidden at start-up.

#include <QWidget>

class TformHelp : public QWidget {
    Q_OBJECT
public:
    explicit TformHelp(QWidget* parent = nullptr);
};
