#pragma once

#include "image/ConfigImage.h"

#include <QStringList>
#include <optional>

// The arguments of the commands that take a configuration file: "FILE.KVX [FLAG]".
struct CtlFileArgs
{
    QString path;
    bool flag = false;
};

// Nothing when the arguments are not one file and at most the given flag.
std::optional<CtlFileArgs> parseFileArgs(const QStringList& args, const QString& flag);

// The image of a configuration file whose firmware the program supports. Otherwise the reason is
// on stderr and `exitStatus` says why (file error or firmware too old).
std::optional<ConfigImage> loadSupportedConfigFile(const QString& path, int& exitStatus);
