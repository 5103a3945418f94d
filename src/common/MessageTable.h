#pragma once

#include <QString>

// The program's numbered German messages. Texts are raw, with their "%s"/"%d" placeholders;
// numbers without a text (and 0) give the empty text.
namespace MessageTable {
QString text(int number);
// The text with its "%s" filled.
QString text(int number, const QString& arg);
// Highest number that has a text.
int highestNumber();
} // namespace MessageTable

// How a status line message is drawn: black, blue or red.
enum class StatusLevel
{
    Normal = 0,
    Progress = 1,
    Error = 2
};

// The numbers of the messages that reach the status line.
namespace Msg {
enum : int
{
    Clear = 0,
    ReadingCharges = 1,
    ReadingBase = 2,
    ReadingExtensions = 3,
    CommError = 4,
    CannotOpenPort = 5,
    InvalidPort = 22,
    OpeningPort = 24,
    WritingBase = 26,
    WritingExtension = 27,
    FirmwareTooOld = 31,
    FileNotOpened = 32,
    WritingUnits = 35,
    CannotWritePort = 36,
    WrongPassword = 39,
    PasswordMismatch = 40,
    ReadingSpeedDial = 50,
    NoSpeedDials = 51,
    InvalidStartWait = 56,
};
} // namespace Msg
