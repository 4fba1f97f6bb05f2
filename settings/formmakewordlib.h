#pragma once
// The settings and maintenance window; created hidden at start-up.

#include <QWidget>

class TformMakeWordLib : public QWidget {
    Q_OBJECT
public:
    explicit TformMakeWordLib(QWidget* parent = nullptr);
};
