#pragma once

#include <QFrame>
#include <QWidget>

class QDateTime;
class QLabel;
class QProgressBar;
class StatusLine;

// Panel 0 of the status bar: the status line drawn in its level's colour.
class StatusLinePanel : public QFrame
{
    Q_OBJECT
public:
    explicit StatusLinePanel(const StatusLine& line, QWidget* parent = nullptr);
    QColor textColour() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const StatusLine& m_line;
};

// The status bar: the status line, the transfer progress bar over the second panel and the clock.
class StatusBar : public QWidget
{
    Q_OBJECT
public:
    explicit StatusBar(const StatusLine& line, QWidget* parent = nullptr);

    void setProgress(int value, int maximum);
    void showClock(const QDateTime& now);

    StatusLinePanel* linePanel() const { return m_linePanel; }
    QProgressBar* progressBar() const { return m_progress; }
    QLabel* clock() const { return m_clock; }

private:
    StatusLinePanel* m_linePanel;
    QProgressBar* m_progress;
    QLabel* m_clock;
};
