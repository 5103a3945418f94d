#include "FontFace.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStringList>
#include <QWidget>

namespace {

QStringList candidatesFor(const QString& offeredFace)
{
    if (offeredFace == QLatin1String("MS Sans Serif"))
        return {QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    if (offeredFace == QLatin1String("Tahoma"))
        return {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                QStringLiteral("Liberation Sans Narrow"), QStringLiteral("DejaVu Sans")};
    return {};
}

} // namespace

QString FontFace::familyFor(const QString& offeredFace)
{
    const QStringList candidates = candidatesFor(offeredFace);
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : candidates) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return candidates.isEmpty() ? QString() : QApplication::font().family();
}

void FontFace::apply(QWidget* window, QWidget* navigationBar, const QString& offeredFace)
{
    QString family = familyFor(offeredFace);
    if (family.isEmpty())
        family = QApplication::font().family();
    QFont font = window->font();
    font.setFamily(family);
    window->setFont(font);
    if (navigationBar) {
        QFont itemFont = navigationBar->font();
        itemFont.setFamily(family);
        itemFont.setPointSize(8);
        navigationBar->setFont(itemFont);
    }
}
