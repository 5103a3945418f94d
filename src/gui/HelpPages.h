#pragma once

#include "ContextHelp.h"

#include <QList>
#include <QString>

class MainWindow;

// The help window's pages: one HTML file per page of the program. Each file holds a written part
// (what the page is for) and, below a marker, a part made from the program itself: the page's
// picture and the context help of its controls. `winkavex --help-pages DIR` renders that part
// again and keeps the written one.
namespace HelpPages {
// "Parametrierungspaßwort" -> "parametrierungspasswort"
QString slug(const QString& heading);
QString fileName(const QString& heading);
// The page about the window's frame: caption, navigation bar, buttons and status bar.
QString frameHeading();
QString marker();
QString generatedPart(const QString& heading, const QList<ContextHelpEntry>& entries);
// `existing` with everything below the marker replaced; a new file gets a heading to write under.
QString merged(const QString& existing, const QString& heading, const QList<ContextHelpEntry>& entries);
// The context help that the generated part of `html` lists, to compare with the program's.
QList<ContextHelpEntry> listedEntries(const QString& html);
// The frame's controls, and those of the page that shows, as they are in `window`.
QList<ContextHelpEntry> frameEntries(MainWindow& window);
QList<ContextHelpEntry> shownPageEntries(MainWindow& window);
// False with `error` set when a file cannot be read or written.
bool render(MainWindow& window, const QString& directory, QString* error);
} // namespace HelpPages
