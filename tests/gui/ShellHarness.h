#pragma once

#include "ExchangeReply.h"

#include "FakeTransport.h"
#include "MainWindow.h"
#include "MockClock.h"
#include "PageRegistry.h"
#include "common/Cp1252.h"
#include "link/Cells.h"
#include "pages/calls/CallPages.h"
#include "pages/charges/ChargePages.h"
#include "pages/config/ConfigPages.h"
#include "pages/shell/ShellPages.h"
#include "shell/AppCore.h"
#include "shell/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

// The main window over an AppCore in virtual time on a fake port. The exchange answers each read
// request 200 ms after it was sent. `registry` may be filled before window() is first called.
class ShellHarness
{
public:
    explicit ShellHarness(const QString& settings = QStringLiteral("[Allgemein]\r\nAnschluß=COM1\r\n"),
                          const QStringList& words = {})
    {
        if (!settings.isEmpty()) {
            QFile file(m_dir.filePath(QStringLiteral("WinKavex.INI")));
            if (file.open(QIODevice::WriteOnly))
                file.write(Cp1252::fromUnicode(settings));
        }
        AppCore::Options options;
        options.programDir = m_dir.path();
        options.configHome = m_dir.filePath(QStringLiteral("config"));
        options.clock = &m_clock;
        options.passwordIterations = 1;
        auto transport = std::make_unique<FakeTransport>(m_clock);
        m_transport = transport.get();
        m_transport->setOnSend([this](const QByteArray& block) { answer(block); });
        options.transport = std::move(transport);
        m_core = std::make_unique<AppCore>(std::move(options), CommandLine::parse(words));
        registerShellPages(registry);
    }

    // The pages of every group, as the program registers them, before window() is first called.
    void registerEveryPage()
    {
        registerConfigPages(registry);
        registerChargePages(registry);
        registerCallPages(registry);
    }

    MainWindow& window()
    {
        if (!m_window)
            m_window = std::make_unique<MainWindow>(*m_core, registry);
        return *m_window;
    }

    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            m_clock.advance(1000);
            m_core->onSecond();
        }
    }

    AppCore& core() { return *m_core; }
    QString configHome() const { return m_dir.filePath(QStringLiteral("config")); }
    FakeTransport& transport() { return *m_transport; }
    MockClock& clock() { return m_clock; }
    bool mute = false;
    PageRegistry registry;

private:
    void answer(const QByteArray& block)
    {
        if (mute)
            return;
        QByteArray chunk;
        if (block == QByteArray::fromHex("830A0000")) {
            chunk = ExchangeReply::base(2, 0);
        } else if (block == QByteArray::fromHex("83080000")) {
            chunk = ExchangeReply::region(22, 500);
        } else if (block == QByteArray::fromHex("83060000")) {
            chunk = ExchangeReply::region(21, 224);
        }
        if (!chunk.isEmpty())
            m_clock.schedule(m_clock.elapsedMs() + 200, [this, chunk] { m_transport->inject(chunk); });
    }

    QTemporaryDir m_dir;
    MockClock m_clock;
    FakeTransport* m_transport = nullptr;
    std::unique_ptr<AppCore> m_core;
    std::unique_ptr<MainWindow> m_window;
};
