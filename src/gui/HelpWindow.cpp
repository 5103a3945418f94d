#include "HelpWindow.h"

#include "HelpPages.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this))
{
    setWindowTitle(QStringLiteral("Kavex K3/K8 - Hilfe"));
    auto* back = new QPushButton(QStringLiteral("Zurück"), this);
    auto* contents = new QPushButton(QStringLiteral("Inhalt"), this);
    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(contents, &QPushButton::clicked, this, &HelpWindow::showContents);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    back->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
    m_browser->setOpenExternalLinks(false);
    resize(860, 640);
}

void HelpWindow::showContents()
{
    open(QStringLiteral("index.html"));
}

void HelpWindow::showPage(const QString& heading)
{
    open(HelpPages::fileName(heading));
}

void HelpWindow::open(const QString& fileName)
{
    m_browser->setSource(QUrl(QStringLiteral("qrc:/help/") + fileName));
    show();
    raise();
    activateWindow();
}
