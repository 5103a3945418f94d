#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every target shares: a QCoreApplication (queued calls, processEvents) and a private
// directory for the files a loader reads, made once per process.
namespace FuzzSupport {

inline QCoreApplication& app()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

// On a memory file system where there is one: the loaders' rewrites sync every file.
inline const QTemporaryDir& dir()
{
    static const QTemporaryDir instance(QFile::exists(QStringLiteral("/dev/shm"))
                                            ? QStringLiteral("/dev/shm/kavex-fuzz-XXXXXX")
                                            : QDir::tempPath() + QStringLiteral("/kavex-fuzz-XXXXXX"));
    return instance;
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The input as a file of the given name in the private directory; its path.
inline QString writeFile(const QString& name, const std::uint8_t* data, std::size_t size)
{
    const QString path = dir().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    return path;
}

// A broken invariant is a finding: abort, so that libFuzzer keeps the input.
inline void check(bool condition, const char* file = __builtin_FILE(), int line = __builtin_LINE())
{
    if (!condition) {
        std::fprintf(stderr, "check failed at %s:%d\n", file, line);
        std::abort();
    }
}

} // namespace FuzzSupport
