#include "HeadlessView.h"

#include "shell/StatusLine.h"

#include <QObject>
#include <cstdio>

namespace {

// The journal's priorities as sd-daemon prefixes: progress is info, errors are errors.
const char* prefix(int level)
{
    return level >= 2 ? "<3>" : level == 1 ? "<6>" : "<5>";
}

} // namespace

HeadlessView::HeadlessView(StatusLine& status)
{
    QObject::connect(&status, &StatusLine::changed, [&status] {
        const QString text = status.text();
        if (text.isEmpty())
            return;
        std::fprintf(stderr, "%s%s\n", prefix(status.colourLevel()), text.toUtf8().constData());
        std::fflush(stderr);
    });
}
