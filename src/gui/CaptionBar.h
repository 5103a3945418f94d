#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

// The title row of the frameless window: icon, title, context help and minimise.
class CaptionBar : public QWidget
{
    Q_OBJECT
public:
    explicit CaptionBar(const QString& title, QWidget* parent = nullptr);

    void setTitle(const QString& title);
    QString title() const;
    QToolButton* contextHelpButton() const { return m_contextHelp; }
    QToolButton* minimiseButton() const { return m_minimise; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_title;
    QToolButton* m_contextHelp;
    QToolButton* m_minimise;
};
