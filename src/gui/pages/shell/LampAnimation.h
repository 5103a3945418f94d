#pragma once

#include <QTimer>
#include <QWidget>

// The information page's animation: the exchange with its eight extension lamps lighting in turn.
class LampAnimation : public QWidget
{
    Q_OBJECT
public:
    explicit LampAnimation(QWidget* parent = nullptr);

    void start() { m_timer.start(); }
    void stop() { m_timer.stop(); }
    QSize sizeHint() const override { return {260, 110}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer m_timer;
    int m_step = 0;
};
