#include "shell/CallBlocking.h"

#include "common/FileMessages.h"
#include "shell/Settings.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

const QString Section = QStringLiteral("Sperrliste");
const QString WithheldKey = QStringLiteral("OhneRufnummer");

} // namespace

CallBlocking::CallBlocking(Settings& settings, const QString& directory)
    : m_settings(settings), m_path(directory + QLatin1Char('/') + FileName)
{}

bool CallBlocking::blockWithheld() const
{
    return m_settings.readText(Section, WithheldKey, QStringLiteral("0")).trimmed() == QLatin1String("1");
}

bool CallBlocking::setBlockWithheld(bool on)
{
    return m_settings.writeText(Section, WithheldKey, on ? QStringLiteral("1") : QStringLiteral("0"));
}

void CallBlocking::refresh()
{
    Stamp now;
    struct stat info {};
    if (::stat(m_path.toLocal8Bit().constData(), &info) == 0) {
        now.inode = info.st_ino;
        now.size = info.st_size;
        now.modifiedNs = static_cast<qint64>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    }
    if (now == m_stamp && m_stamp.size >= 0)
        return;
    m_stamp = now;
    const int error = m_list.load(m_path);
    m_readProblem = error == 0 || error == ENOENT
                    ? QString()
                    : QStringLiteral("%1 nicht lesbar: %2").arg(m_path, QString::fromLocal8Bit(std::strerror(error)));
}

const BlockList& CallBlocking::list()
{
    refresh();
    return m_list;
}

std::optional<QString> CallBlocking::blockedName(const QString& caller)
{
    if (caller.trimmed().isEmpty())
        return blockWithheld() ? std::optional<QString>(BlockedName) : std::nullopt;
    refresh();
    const std::optional<BlockList::Entry> entry = m_list.match(caller);
    if (!entry)
        return std::nullopt;
    return entry->note.isEmpty() ? BlockedName : entry->note;
}

bool CallBlocking::change(const std::function<QString(BlockList&)>& apply)
{
    refresh();
    m_problem = m_readProblem;
    if (!m_problem.isEmpty())
        return false;
    BlockList changed = m_list;
    m_problem = apply(changed);
    if (!m_problem.isEmpty())
        return false;
    if (!changed.save(m_path)) {
        m_problem = FileMessages::cannotWrite(m_path);
        return false;
    }
    m_list = changed;
    m_stamp = {};
    return true;
}

namespace {

QString noNumber(const QString& number)
{
    return QStringLiteral("Keine Rufnummer: %1").arg(number.left(BlockList::MaxNumberLength));
}

QString notListed(const QString& number)
{
    return QStringLiteral("Nicht in der Sperrliste: %1").arg(number.left(BlockList::MaxNumberLength));
}

} // namespace

bool CallBlocking::add(const BlockList::Entry& entry)
{
    return change([&](BlockList& list) { return list.add(entry) ? QString() : noNumber(entry.number); });
}

bool CallBlocking::remove(const QString& number)
{
    return change([&](BlockList& list) { return list.remove(number) ? QString() : notListed(number); });
}

bool CallBlocking::replace(const QString& number, const BlockList::Entry& entry)
{
    return change([&](BlockList& list) {
        if (BlockList::key(entry.number).isEmpty())
            return noNumber(entry.number);
        if (!list.replace(number, entry))
            return notListed(number);
        return QString();
    });
}
