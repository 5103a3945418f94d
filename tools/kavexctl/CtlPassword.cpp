#include "CtlPassword.h"

#include "CtlLink.h"

#include "common/MessageTable.h"
#include "shell/PasswordStore.h"
#include "shell/ProgramDirs.h"

#include <cstdio>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

// A password is a line of at most this many bytes; the rest of a longer line is dropped.
constexpr std::size_t MaxLineBytes = 1024;

std::optional<QString> readLine(FILE* in)
{
    std::string line;
    int c;
    while ((c = std::fgetc(in)) != EOF && c != '\n') {
        if (line.size() < MaxLineBytes)
            line.push_back(static_cast<char>(c));
    }
    if (c == EOF && line.empty())
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
}

} // namespace

std::optional<QString> CtlPassword::read(bool fromStdin, const char* prompt)
{
    if (fromStdin)
        return readLine(stdin);
    if (!isatty(STDIN_FILENO))
        return std::nullopt;
    std::fprintf(stderr, "%s", prompt);
    std::fflush(stderr);
    termios saved{};
    const bool quiet = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (quiet) {
        termios silent = saved;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    }
    const std::optional<QString> line = readLine(stdin);
    if (quiet)
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fputc('\n', stderr);
    return line;
}

CtlPassword::WritePassword CtlPassword::checkForWrite(const CtlOptions& options, bool fromStdin)
{
    PasswordStore store(PasswordStore::defaultPath(ProgramDirs(options.dir).configHome()));
    store.load();
    if (store.isDamaged()) {
        ctlError(store.errorString());
        return {ExitUsage, {}};
    }
    if (!store.isSet())
        return {};
    const std::optional<QString> entered = read(fromStdin, "Paßwort: ");
    if (!entered || !store.matches(*entered)) {
        ctlError(MessageTable::text(Msg::WrongPassword));
        return {ExitUsage, {}};
    }
    return {ExitOk, *entered};
}
