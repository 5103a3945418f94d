#pragma once

#include "common/MessageTable.h"
#include "config/PrintContent.h"

#include <QObject>
#include <QString>

#include <functional>

class BaseConfig;
class ChargeUpdate;
class Clock;
class ExtensionConfig;
class Settings;
class SpeedDialList;
class SpeedDialTransfer;

// "Drucken...": the printout of a mode on the default printer or into a PDF file. The controls
// stay locked from the request to the end of the job; a mode with the speed dials first reads
// them from the exchange (once per run, from firmware 2.00 on) and prints when the read is in.
// The drawing is the sink's, set by the program's window.
class Printout : public QObject
{
    Q_OBJECT

public:
    enum class Result
    {
        Printed,
        NoPrinter,    // no default printer is set up
        PrinterError, // the printer refused the job or failed during it
        FileError     // the PDF file could not be written
    };
    // Prints the content on the default printer (`pdfPath` empty) or into the file.
    using Sink = std::function<Result(const PrintContent& content, const QString& pdfPath)>;

    struct Sources
    {
        const BaseConfig& base;
        const ExtensionConfig& extensions;
        const SpeedDialList& speedDials;
        SpeedDialTransfer& transfer;
        const ChargeUpdate& charges;
        const Settings& settings;
        Clock& clock;
    };

    explicit Printout(const Sources& sources, QObject* parent = nullptr);

    void setSink(Sink sink) { m_sink = std::move(sink); }
    // The pages' edits are committed by the caller. A request while one is pending is ignored.
    void request(PrintMode mode, const QString& pdfPath = {});
    bool isBusy() const { return m_busy; }

    // The status texts of a failed job on the printer; a PDF file that cannot be written gets message 32.
    static QString noPrinterText() { return QStringLiteral("Kein Drucker eingerichtet"); }
    static QString printerErrorText() { return QStringLiteral("Fehler beim Drucken"); }

Q_SIGNALS:
    void busyChanged(bool busy);
    void status(int number, StatusLevel level, const QString& arg);
    void statusText(StatusLevel level, const QString& text);

private:
    bool speedDialsAvailable() const;
    bool waitForSpeedDials();
    void printNow();
    void report(Result result);
    void setBusy(bool busy);

    Sources m_sources;
    Sink m_sink;
    PrintMode m_mode = PrintMode::Configuration;
    QString m_pdfPath;
    bool m_busy = false;
    bool m_waiting = false;
};
