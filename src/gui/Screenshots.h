#pragma once

#include <QString>

class MainWindow;

// Renders every page of the navigation table, and the tray menu, to PNG files named after the
// page's heading.
namespace Screenshots {
// False with `error` set when the directory cannot be made or a file cannot be written.
bool render(MainWindow& window, const QString& directory, QString* error);
QString trayMenuName();
} // namespace Screenshots
