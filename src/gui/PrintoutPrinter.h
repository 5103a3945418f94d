#pragma once

#include "shell/Printout.h"

// The sink of the core's printout: the default printer through the print support, landscape, or
// a PDF file.
namespace PrintoutPrinter {
Printout::Result print(const PrintContent& content, const QString& pdfPath);
} // namespace PrintoutPrinter
