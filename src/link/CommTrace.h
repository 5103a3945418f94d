#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <mutex>

// The serial driver's trace file: "HH:mm:ss" (local time), two blanks, the text; flushed at once.
// Written from the link's threads, so each line is one locked write.
class CommTrace
{
public:
    CommTrace() = default;
    ~CommTrace();
    CommTrace(const CommTrace&) = delete;
    CommTrace& operator=(const CommTrace&) = delete;

    // Creates (truncates) the file; false when it cannot be written.
    bool open(const QString& path);
    void close();
    bool isOpen() const;

    void line(const QString& text);
    // A system error: the prefix, then the errno text in double quotes.
    void error(const QString& prefix, int errorNumber);
    // A block in lines of 20 bytes, each byte as a blank and two upper-case hex digits.
    void dump(const QByteArray& bytes);

private:
    mutable std::mutex m_mutex;
    std::FILE* m_file = nullptr;
};
