#pragma once

#include "Page.h"

#include <array>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TimeField;

// "Zeitsteuerung": six time points, each a time, a configuration file and the days it fires on.
// Every edit goes to the core's rows at once; "S&peichern" stores them.
class TimeControlPage : public Page
{
    Q_OBJECT
public:
    static constexpr int Rows = 6;

    explicit TimeControlPage(AppCore& core, QWidget* parent = nullptr);

    void refresh() override;
    void setTransferLock(bool locked) override;

    // The browse dialog; tests answer it (an empty path is a cancel).
    void setFilePrompt(std::function<QString()> prompt) { m_filePrompt = std::move(prompt); }

    TimeField* timeField(int row) const { return m_rows.at(static_cast<std::size_t>(row)).time; }
    QLineEdit* fileField(int row) const { return m_rows.at(static_cast<std::size_t>(row)).file; }
    QPushButton* browseButton(int row) const { return m_rows.at(static_cast<std::size_t>(row)).browse; }
    QCheckBox* weekdaysBox(int row) const { return m_rows.at(static_cast<std::size_t>(row)).weekdays; }
    QCheckBox* weekendBox(int row) const { return m_rows.at(static_cast<std::size_t>(row)).weekend; }
    QPushButton* saveButton() const { return m_save; }

private:
    struct Row
    {
        TimeField* time;
        QLineEdit* file;
        QPushButton* browse;
        QCheckBox* weekdays;
        QCheckBox* weekend;
    };

    QWidget* buildRows();
    void connectRow(int row);
    void browse(int row);
    QString askFile();

    std::array<Row, Rows> m_rows{};
    QPushButton* m_save;
    std::function<QString()> m_filePrompt;
};
