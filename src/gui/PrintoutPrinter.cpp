#include "PrintoutPrinter.h"

#include "print/PrintoutPainter.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace PrintoutPrinter {

Printout::Result print(const PrintContent& content, const QString& pdfPath)
{
    if (!pdfPath.isEmpty())
        return PrintoutPainter::writePdf(content, pdfPath) ? Printout::Result::Printed : Printout::Result::FileError;
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull())
        return Printout::Result::NoPrinter;
    QPrinter printer(target, QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(PrintoutPainter::jobTitle());
    QPainter painter;
    if (!painter.begin(&printer))
        return Printout::Result::PrinterError;
    PrintoutPainter::paint(painter, printer, content);
    const bool ended = painter.end();
    return ended && printer.printerState() != QPrinter::Error ? Printout::Result::Printed
                                                              : Printout::Result::PrinterError;
}

} // namespace PrintoutPrinter
