#pragma once

#include <QWidget>

class AppCore;
class ConfigFileActions;
class MonthlyReportButton;
class PrintButton;
class QPushButton;

// The buttons "In Datei schreiben...", "Aus Datei lesen...", "Drucken..." and "Monatsbericht..." for the frame's button
// column; the frame disables the widget while a transfer runs.
class ConfigFileButtons : public QWidget
{
    Q_OBJECT
public:
    ConfigFileButtons(AppCore& core, QWidget* parent = nullptr);

    ConfigFileActions& actions() const { return *m_actions; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* loadButton() const { return m_load; }
    PrintButton* printButton() const { return m_print; }
    MonthlyReportButton* reportButton() const { return m_report; }

private:
    ConfigFileActions* m_actions;
    QPushButton* m_save;
    QPushButton* m_load;
    PrintButton* m_print;
    MonthlyReportButton* m_report;
};
