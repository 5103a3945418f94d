#pragma once

#include "../config/TestImages.h"
#include "FakeTransport.h"
#include "MockClock.h"
#include "common/Cp1252.h"
#include "shell/AppCore.h"
#include "shell/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

// An AppCore in virtual time over a fake transport, with its settings and program directory in a
// temporary folder, holding a decoded test image. Pages under test are built on `core()`.
class ConfigPageHarness
{
public:
    // `settings` is written as the settings file beside the program before the core starts.
    explicit ConfigPageHarness(const ConfigImage& image, const QString& settings = {})
    {
        QDir().mkpath(programDir());
        QDir().mkpath(m_dir.filePath(QStringLiteral("config")));
        if (!settings.isEmpty()) {
            QFile file(QDir(programDir()).filePath(QStringLiteral("WinKavex.INI")));
            if (file.open(QIODevice::WriteOnly))
                file.write(Cp1252::fromUnicode(settings));
        }
        AppCore::Options options;
        options.programDir = programDir();
        options.configHome = m_dir.filePath(QStringLiteral("config"));
        options.clock = &m_clock;
        options.passwordIterations = 1;
        auto transport = std::make_unique<FakeTransport>(m_clock);
        m_transport = transport.get();
        options.transport = std::move(transport);
        m_core = std::make_unique<AppCore>(std::move(options), CommandLine{});
        m_core->image() = image;
        m_core->decodeConfiguration();
    }

    AppCore& core() { return *m_core; }
    FakeTransport& transport() { return *m_transport; }
    MockClock& clock() { return m_clock; }
    QString programDir() const { return m_dir.filePath(QStringLiteral("program")); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString root() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    MockClock m_clock;
    FakeTransport* m_transport = nullptr;
    std::unique_ptr<AppCore> m_core;
};
