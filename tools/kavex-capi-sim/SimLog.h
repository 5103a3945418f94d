#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Appends one line per message: local time with milliseconds, then the bytes in hexadecimal,
// "hh:mm:ss.zzz 1D 00 01 00 05 80 00 00 ...". A file is emptied the first time this process
// writes to it; each line is written at once.
class SimLog
{
public:
    void write(const std::string& path, const std::vector<std::uint8_t>& message);

private:
    std::vector<std::string> m_started;
};
