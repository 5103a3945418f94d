#include "ExtensionNames.h"

#include "shell/AppCore.h"
#include "shell/Settings.h"

QStringList extensionNames(const AppCore& core)
{
    QStringList names;
    for (int extension = 21; extension <= 28; ++extension)
        names << core.settings().extensionName(extension);
    return names;
}
