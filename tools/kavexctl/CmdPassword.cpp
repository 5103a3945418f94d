#include "CtlCommand.h"
#include "CtlLink.h"
#include "CtlPassword.h"

#include "common/MessageTable.h"
#include "shell/PasswordStore.h"
#include "shell/ProgramDirs.h"

namespace {

// Sets the configuration password, so that a machine without the window can have one: the old
// password first (an empty line when none is set), then the new one twice; an empty new one
// removes it.
int runPassword(const CtlOptions& options, const QStringList& args)
{
    const bool fromStdin = args == QStringList{QStringLiteral("--password-stdin")};
    if (!fromStdin && !args.isEmpty()) {
        ctlError(QStringLiteral("Aufruf: kavexctl password [--password-stdin]"));
        return ExitUsage;
    }
    PasswordStore store(PasswordStore::defaultPath(ProgramDirs(options.dir).configHome()));
    store.load();
    const std::optional<QString> old = CtlPassword::read(fromStdin, "Altes Paßwort: ");
    // A damaged store can be set anew: no old password could match it.
    if (!old || (store.isSet() && !store.isDamaged() && !store.matches(*old))) {
        ctlError(MessageTable::text(Msg::WrongPassword));
        return ExitUsage;
    }
    const std::optional<QString> first = CtlPassword::read(fromStdin, "Neues Paßwort: ");
    const std::optional<QString> second = first ? CtlPassword::read(fromStdin, "Wiederholung: ") : std::nullopt;
    if (!first || !second || *first != *second) {
        ctlError(MessageTable::text(Msg::PasswordMismatch));
        return ExitUsage;
    }
    if (!store.save(*first)) {
        ctlError(store.errorString());
        return ExitUsage;
    }
    return ExitOk;
}

const CtlRegistrar registrar({"password", "password [--password-stdin]", runPassword});

} // namespace
