#include "SimLog.h"

#include "SimWire.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

std::string timeStamp()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(ms));
    return text;
}

} // namespace

void SimLog::write(const std::string& path, const std::vector<std::uint8_t>& message)
{
    if (path.empty())
        return;
    const bool first = std::find(m_started.begin(), m_started.end(), path) == m_started.end();
    std::FILE* file = std::fopen(path.c_str(), first ? "w" : "a");
    if (!file)
        return;
    if (first)
        m_started.push_back(path);
    const std::string line = timeStamp() + ' ' + hexBytes(message) + '\n';
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
}
