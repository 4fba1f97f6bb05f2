#pragma once
// The library selection and grouping dialog; created hidden at start-up.

#include <QWidget>

class TSelectWordLib : public QWidget {
    Q_OBJECT
public:
    explicit TSelectWordLib(QWidget* parent = nullptr);
};
