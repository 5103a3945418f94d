#pragma once

#include <QString>

#include <optional>

// A hook script opened once and checked through the open file, so that what runs is exactly what
// was checked: a file put in its place after the check cannot be run instead. The path is never
// followed through a symlink, and every folder above the file must be safe from other users too,
// or one of them could swap a folder for one of their own.
class HookFile
{
public:
    // The hook at `path`; `hasFile()` is false when there is none, `refusal()` says why an existing
    // one must not run.
    explicit HookFile(const QString& path);
    ~HookFile();
    HookFile(const HookFile&) = delete;
    HookFile& operator=(const HookFile&) = delete;

    bool hasFile() const { return m_exists; }
    // A file that is not regular or has no execute bit for its owner: a hook switched off.
    bool isSwitchedOff() const { return m_switchedOff; }
    const std::optional<QString>& refusal() const { return m_refusal; }
    bool mayRun() const { return m_fd >= 0; }
    // The name under which the checked, still open file is executed (its descriptor stays open
    // across the exec, so that an interpreter reads this same file).
    QString execPath() const;
    int descriptor() const { return m_fd; }

private:
    void check(int fd);

    int m_fd = -1;
    bool m_exists = false;
    bool m_switchedOff = false;
    std::optional<QString> m_refusal;
};
