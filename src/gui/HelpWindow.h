#pragma once

#include <QWidget>

class QTextBrowser;

// The program's help: HTML pages shipped as resources, opened on contents and index.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void showContents();
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};
