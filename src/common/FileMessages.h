#pragma once

#include <QString>

// The texts of file failures that many features report the same way.
namespace FileMessages {

// "Kann nicht nach DATEI schreiben", with the reason after a colon when one is known.
QString cannotWrite(const QString& path, const QString& reason = {});

} // namespace FileMessages
