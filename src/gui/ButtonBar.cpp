#include "ButtonBar.h"

#include <QCheckBox>
#include <QPushButton>
#include <QVBoxLayout>

ButtonBar::ButtonBar(QWidget* fileButtons, QWidget* parent)
    : QWidget(parent), m_read(new QPushButton(QStringLiteral("&Lesen"), this)),
      m_write(new QPushButton(QStringLiteral("Konfigurieren"), this)),
      m_units(new QCheckBox(QStringLiteral("Einheiten übertragen"), this)), m_fileButtons(fileButtons),
      m_help(new QPushButton(QStringLiteral("&Hilfe"), this)), m_quit(new QPushButton(QStringLiteral("&Beenden"), this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 0, 0);
    layout->addWidget(m_read);
    layout->addWidget(m_write);
    layout->addWidget(m_units);
    if (m_fileButtons) {
        m_fileButtons->setParent(this);
        layout->addSpacing(8);
        layout->addWidget(m_fileButtons);
    }
    layout->addStretch(1);
    layout->addWidget(m_help);
    layout->addWidget(m_quit);

    m_read->setWhatsThis(
        QStringLiteral("Liest Grundkonfiguration, Endgerätekonfiguration und Gebühren aus der Anlage."));
    m_write->setWhatsThis(
        QStringLiteral("Überträgt die angezeigte Konfiguration in die Anlage. Ist ein Parametrierungspaßwort "
                       "gesetzt, wird es vorher abgefragt."));
    m_units->setWhatsThis(QStringLiteral("Beim Konfigurieren auch die Gebühreneinheiten in die Anlage übertragen."));
    m_help->setWhatsThis(QStringLiteral("Öffnet die Hilfe mit Inhalt und Index."));
    m_quit->setWhatsThis(QStringLiteral("Beendet WinKavex. Schließen des Fensters legt es nur in den Infobereich."));
}

void ButtonBar::setLocked(bool locked, bool keepHelpAndExit)
{
    for (QWidget* w : {static_cast<QWidget*>(m_read), static_cast<QWidget*>(m_write), static_cast<QWidget*>(m_units),
                       m_fileButtons}) {
        if (w)
            w->setEnabled(!locked);
    }
    m_help->setEnabled(!locked || keepHelpAndExit);
    m_quit->setEnabled(!locked || keepHelpAndExit);
}
