#include "MainWindow.h"

#include "StatusBar.h"

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), m_statusBar(new StatusBar(this))
{
    setWindowTitle(QStringLiteral("WinKavex"));
    setStatusBar(m_statusBar);
    resize(640, 440);
}
