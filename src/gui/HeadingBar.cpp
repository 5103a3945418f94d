#include "HeadingBar.h"

HeadingBar::HeadingBar(QWidget* parent) : QLabel(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(128, 128, 128));
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);
    QFont heading = font();
    heading.setPointSize(heading.pointSize() + 5);
    heading.setBold(true);
    setFont(heading);
    setContentsMargins(8, 3, 8, 3);
    setWhatsThis(QStringLiteral("Name der angezeigten Seite."));
}
