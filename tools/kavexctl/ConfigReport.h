#pragma once

#include "image/ConfigImage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class SpeedDialList;
struct CtlOptions;

// The decoded configuration and the speed-dial list as kavexctl prints them: a readable German
// summary, or one line of JSON (without its line end). Every text is the one the configuration pages show.
namespace ConfigReport {
// `names` holds the extension names of section "Bezeichnungen", index 0 for extension 21.
QString text(const ConfigImage& image, const QStringList& names = {});
QByteArray json(const ConfigImage& image);
// The names of section "Bezeichnungen" in the settings file that the options point to.
QStringList extensionNames(const CtlOptions& options);

QString speedDialsText(const SpeedDialList& list);
QByteArray speedDialsJson(const SpeedDialList& list);
} // namespace ConfigReport
