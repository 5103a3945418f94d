#include "HelpPages.h"

#include "ButtonBar.h"
#include "CaptionBar.h"
#include "HeadingBar.h"
#include "MainWindow.h"
#include "NavigationBar.h"
#include "NavigationTable.h"
#include "PageStack.h"
#include "Screenshots.h"
#include "StatusBar.h"
#include "common/FileMessages.h"

#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>

namespace {

// Pictures are scaled here, smoothly, rather than by the help browser, which would blur the text.
constexpr int PictureWidth = 800;

QString unescaped(QString html)
{
    html.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    html.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    html.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    html.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return html;
}

QString skeleton(const QString& heading)
{
    return QStringLiteral("<html>\n<head><meta charset=\"utf-8\"><title>%1 – WinKavex-Hilfe</title></head>\n<body>\n"
                          "<p><a href=\"index.html\">Inhalt</a></p>\n<h2>%1</h2>\n\n")
        .arg(heading.toHtmlEscaped());
}

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

bool readText(const QString& path, QString* text)
{
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *text = QString::fromUtf8(file.readAll());
    return true;
}

bool writeText(const QString& path, const QString& text)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit();
}

bool writePage(const QString& directory, const QString& heading, const QList<ContextHelpEntry>& entries, QString* error)
{
    const QString path = QDir(directory).filePath(HelpPages::fileName(heading));
    QString existing;
    if (!readText(path, &existing))
        return fail(error, QStringLiteral("Kann %1 nicht lesen").arg(path));
    if (!writeText(path, HelpPages::merged(existing, heading, entries)))
        return fail(error, FileMessages::cannotWrite(path));
    return true;
}

bool writePicture(MainWindow& window, const QString& directory, const QString& heading, QString* error)
{
    const QString path = QDir(directory).filePath(QStringLiteral("images/%1.png").arg(HelpPages::slug(heading)));
    const QPixmap picture = window.grab().scaledToWidth(PictureWidth, Qt::SmoothTransformation);
    if (!picture.save(path, "PNG"))
        return fail(error, FileMessages::cannotWrite(path));
    return true;
}

} // namespace

QString HelpPages::slug(const QString& heading)
{
    QString text = heading.toLower();
    text.replace(QStringLiteral("ä"), QStringLiteral("ae"));
    text.replace(QStringLiteral("ö"), QStringLiteral("oe"));
    text.replace(QStringLiteral("ü"), QStringLiteral("ue"));
    text.replace(QStringLiteral("ß"), QStringLiteral("ss"));
    text.replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral("-"));
    return text;
}

QString HelpPages::fileName(const QString& heading)
{
    return slug(heading) + QStringLiteral(".html");
}

QString HelpPages::frameHeading()
{
    return QStringLiteral("Das Programmfenster");
}

QString HelpPages::marker()
{
    return QStringLiteral("<!-- Ab hier erzeugt von \"winkavex --help-pages\": Änderungen nur darüber. -->");
}

QString HelpPages::generatedPart(const QString& heading, const QList<ContextHelpEntry>& entries)
{
    const QString picture = heading == frameHeading() ? NavigationTable::entries().first().heading : heading;
    QString html = marker() + QLatin1Char('\n');
    html +=
        QStringLiteral("<p><img src=\"images/%1.png\" alt=\"%2\"></p>\n").arg(slug(picture), heading.toHtmlEscaped());
    html += QStringLiteral("<h3>Bedienelemente</h3>\n<dl>\n");
    for (const ContextHelpEntry& entry : entries) {
        if (!entry.control.isEmpty())
            html += QStringLiteral("<dt>%1</dt>").arg(entry.control.toHtmlEscaped());
        html += QStringLiteral("<dd>%1</dd>\n").arg(entry.text.toHtmlEscaped());
    }
    html += QStringLiteral("</dl>\n<p><a href=\"index.html\">Inhalt</a></p>\n</body>\n</html>\n");
    return html;
}

QString HelpPages::merged(const QString& existing, const QString& heading, const QList<ContextHelpEntry>& entries)
{
    const qsizetype at = existing.indexOf(marker());
    const QString written = at >= 0 ? existing.left(at) : (existing.isEmpty() ? skeleton(heading) : existing);
    return written + generatedPart(heading, entries);
}

QList<ContextHelpEntry> HelpPages::listedEntries(const QString& html)
{
    QList<ContextHelpEntry> entries;
    const qsizetype at = html.indexOf(marker());
    if (at < 0)
        return entries;
    static const QRegularExpression line(QStringLiteral("^(?:<dt>(.*)</dt>)?<dd>(.*)</dd>$"),
                                         QRegularExpression::MultilineOption);
    auto matches = line.globalMatch(html.mid(at));
    while (matches.hasNext()) {
        const auto match = matches.next();
        entries << ContextHelpEntry{unescaped(match.captured(1)), unescaped(match.captured(2))};
    }
    return entries;
}

QList<ContextHelpEntry> HelpPages::frameEntries(MainWindow& window)
{
    QList<ContextHelpEntry> entries;
    QSet<QString> seen;
    const QList<const QWidget*> parts{window.captionBar(), window.navigationBar(), window.headingBar(),
                                      window.buttonBar(), window.statusBar()};
    for (const QWidget* part : parts) {
        for (const ContextHelpEntry& entry : ContextHelp::collect(*part, window)) {
            if (!seen.contains(entry.text))
                entries << entry;
            seen.insert(entry.text);
        }
    }
    return entries;
}

QList<ContextHelpEntry> HelpPages::shownPageEntries(MainWindow& window)
{
    return ContextHelp::collect(*window.pageStack()->currentWidget(), window);
}

bool HelpPages::render(MainWindow& window, const QString& directory, QString* error)
{
    if (!QDir().mkpath(QDir(directory).filePath(QStringLiteral("images"))))
        return fail(error, FileMessages::cannotWrite(directory));
    const auto& table = NavigationTable::entries();
    for (int i = 0; i < table.size(); ++i) {
        Screenshots::showSettled(window, i);
        const QList<ContextHelpEntry> entries = shownPageEntries(window);
        if (!writePicture(window, directory, table[i].heading, error) ||
            !writePage(directory, table[i].heading, entries, error))
            return false;
    }
    Screenshots::showSettled(window, 0);
    return writePage(directory, frameHeading(), frameEntries(window), error);
}
