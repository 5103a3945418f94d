#pragma once

#include "common/MessageTable.h"

#include <QObject>
#include <QString>

#include <functional>

// The first panel of the status bar as the core sees it: a stored line whose first character is
// the colour level and whose text starts at the third character.
class StatusLine : public QObject
{
    Q_OBJECT

public:
    explicit StatusLine(QObject* parent = nullptr);

    // Puts message `number` of the message table into the line, "%s" filled with `arg`;
    // message 0 clears the text.
    void showStatus(int number, StatusLevel level = StatusLevel::Normal, const QString& arg = {});
    // A text of its own (a file error, a refused setting) at a level.
    void showText(StatusLevel level, const QString& text);
    // For writers outside the message table; `rawLine` carries its own level digit and separator.
    void setLine(const QString& rawLine);

    QString line() const { return m_line; }
    QString text() const { return m_line.mid(2); }
    // 0 black, 1 blue, 2 red; a line whose first character is no such digit keeps the colour.
    int colourLevel() const { return m_colourLevel; }

    // Called after every change, so that the window repaints while a long operation runs.
    void setPump(std::function<void()> pump);

Q_SIGNALS:
    void changed();

private:
    QString m_line;
    int m_colourLevel = 0;
    std::function<void()> m_pump;
};
