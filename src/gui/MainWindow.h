#pragma once

#include <QMainWindow>

class StatusBar;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

private:
    StatusBar* m_statusBar;
};
