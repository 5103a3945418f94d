#include "shell/Printout.h"

#include "charges/ChargeUpdate.h"
#include "common/Clock.h"
#include "config/BaseConfig.h"
#include "config/SpeedDialList.h"
#include "config/SpeedDialTransfer.h"
#include "image/Extensions.h"
#include "shell/PrintoutContent.h"
#include "shell/Settings.h"

#include <QDir>

Printout::Printout(const Sources& sources, QObject* parent) : QObject(parent), m_sources(sources)
{
    connect(&sources.transfer, &SpeedDialTransfer::finished, this, [this] {
        if (m_waiting) {
            m_waiting = false;
            printNow();
        }
    });
    connect(&sources.transfer, &SpeedDialTransfer::cutShort, this, [this] {
        if (m_waiting) {
            m_waiting = false;
            setBusy(false);
        }
    });
}

void Printout::request(PrintMode mode, const QString& pdfPath)
{
    if (m_busy)
        return;
    m_mode = mode;
    m_pdfPath = pdfPath;
    setBusy(true);
    if (printsSpeedDials(mode) && speedDialsAvailable() && waitForSpeedDials())
        return;
    // Nothing would be printed: say why instead of sending an empty job.
    if (mode == PrintMode::SpeedDials && !speedDialsAvailable()) {
        Q_EMIT status(Msg::NoSpeedDials, StatusLevel::Error, {});
        setBusy(false);
        return;
    }
    printNow();
}

bool Printout::speedDialsAvailable() const
{
    return m_sources.base.speedDialsAvailable();
}

// A read already running (the speed-dial page was opened) is waited for, not started again.
bool Printout::waitForSpeedDials()
{
    SpeedDialTransfer& transfer = m_sources.transfer;
    if (!transfer.isReading() && transfer.start() != SpeedDialTransfer::Start::Begun)
        return false;
    m_waiting = true;
    return true;
}

void Printout::printNow()
{
    const Settings& settings = m_sources.settings;
    QStringList names;
    for (int g = 0; g < Extensions::Max; ++g)
        names << settings.extensionName(Extensions::number(g));
    const PrintoutContent::Sources sources{m_sources.base,
                                           m_sources.extensions,
                                           m_sources.charges.reading(),
                                           speedDialsAvailable() ? &m_sources.speedDials : nullptr,
                                           names,
                                           settings.printWithBorder(),
                                           m_sources.clock.now()};
    const PrintContent content = PrintoutContent::compose(m_mode, sources);
    report(m_sink ? m_sink(content, m_pdfPath) : Result::NoPrinter);
    setBusy(false);
}

void Printout::report(Result result)
{
    switch (result) {
    case Result::Printed:
        return;
    case Result::NoPrinter:
        Q_EMIT statusText(StatusLevel::Error, noPrinterText());
        return;
    case Result::PrinterError:
        Q_EMIT statusText(StatusLevel::Error, printerErrorText());
        return;
    case Result::FileError:
        Q_EMIT status(Msg::FileNotOpened, StatusLevel::Error, QDir::toNativeSeparators(m_pdfPath));
        return;
    }
}

void Printout::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    Q_EMIT busyChanged(busy);
}
