#pragma once

#include <QString>

class MainWindow;

// Renders every page of the navigation table to a PNG file named after the page's heading, and the
// tray menu and the help window beside them.
namespace Screenshots {
// False with `error` set when the directory cannot be made or a file cannot be written.
bool render(MainWindow& window, const QString& directory, QString* error);
QString trayMenuName();
// The help window on the first page's help.
QString helpName();
// Shows the navigation entry and waits until a transfer that the page started on entering has ended.
void showSettled(MainWindow& window, int index);
} // namespace Screenshots
