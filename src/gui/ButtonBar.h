#pragma once

#include <QWidget>

class QCheckBox;
class QPushButton;

// The window's buttons beside the page: read, write with the units box, the file buttons, help
// and exit.
class ButtonBar : public QWidget
{
    Q_OBJECT
public:
    // `fileButtons` may be null; the bar takes it over.
    explicit ButtonBar(QWidget* fileButtons, QWidget* parent = nullptr);

    QPushButton* readButton() const { return m_read; }
    QPushButton* writeButton() const { return m_write; }
    QCheckBox* unitsBox() const { return m_units; }
    QPushButton* helpButton() const { return m_help; }
    QPushButton* quitButton() const { return m_quit; }
    QWidget* fileButtons() const { return m_fileButtons; }

    // Everything off during a transfer; `keepHelpAndExit` leaves those two on (firmware too old).
    void setLocked(bool locked, bool keepHelpAndExit = false);

private:
    QPushButton* m_read;
    QPushButton* m_write;
    QCheckBox* m_units;
    QWidget* m_fileButtons;
    QPushButton* m_help;
    QPushButton* m_quit;
};
