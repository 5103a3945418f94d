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
    // The help page of the program's page with this heading.
    void showPage(const QString& heading);
    QTextBrowser* browser() const { return m_browser; }

private:
    void open(const QString& fileName);

    QTextBrowser* m_browser;
};
