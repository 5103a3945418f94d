// The history's last line, as every charge reading takes it: a 1 GB file whose last line alone is
// 100 MB without a line break. The lines before it are a hole of the file system, so that only
// the last line is written to disk.
#include "BenchReport.h"
#include "common/TextFile.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace {

constexpr off_t Before = 924LL * 1024 * 1024;
constexpr qsizetype LastLine = 100 * 1024 * 1024;

bool makeFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || ::ftruncate(fd, Before) != 0 || ::lseek(fd, Before, SEEK_SET) != Before)
        return false;
    bool ok = ::write(fd, "\r\n", 2) == 2;
    const QByteArray block(1024 * 1024, 'x');
    for (qsizetype written = 0; ok && written < LastLine; written += block.size())
        ok = ::write(fd, block.constData(), static_cast<size_t>(block.size())) == block.size();
    return ::close(fd) == 0 && ok;
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("WinKavex.dat"));
    if (!makeFile(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 2;
    }
    const double peakBefore = Bench::peakRssMb();
    const double start = Bench::monotonicSeconds();
    std::optional<QString> line;
    const int error = TextFile::lastLine(path, 100, line);
    const double seconds = Bench::monotonicSeconds() - start;
    const double extraMb = Bench::peakRssMb() - peakBefore;
    std::printf("last line of %.0f MB (last line %lld MB): %.3f s, %.1f MB more at peak, error %d, %lld characters\n",
                double(Before + 2 + LastLine) / (1024 * 1024), static_cast<long long>(LastLine / (1024 * 1024)),
                seconds, extraMb, error, static_cast<long long>(line ? line->size() : -1));
    const bool read = error == 0 && line && line->size() == 100;
    const bool fast = Bench::budget("history_last_line_100mb", seconds, 1.0, "s");
    const bool small = Bench::budget("history_last_line_memory", extraMb, 16.0, "MB");
    return read && fast && small ? 0 : 1;
}
