#include "MainWindow.h"

#include "ButtonBar.h"
#include "CaptionBar.h"
#include "FontFace.h"
#include "HeadingBar.h"
#include "HelpWindow.h"
#include "NavigationBar.h"
#include "NavigationTable.h"
#include "Navigator.h"
#include "Page.h"
#include "PageIcons.h"
#include "PageRegistry.h"
#include "PageStack.h"
#include "PasswordDialog.h"
#include "PrintoutPrinter.h"
#include "StatusBar.h"
#include "TrayController.h"
#include "common/Clock.h"
#include "pages/shell/ProgramParameterPage.h"
#include "shell/AppCore.h"
#include "shell/DiagnosisSignalling.h"
#include "shell/Settings.h"
#include "shell/StatusLine.h"
#include "shell/WindowPlacement.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWhatsThis>
#include <QWindow>

// The widget library is static: its resources are registered explicitly.
static void initGuiResources()
{
    Q_INIT_RESOURCE(help);
    Q_INIT_RESOURCE(icons);
}

namespace {

constexpr int EdgeWidth = 3;
constexpr int PositionWriteDelayMs = 300;

} // namespace

MainWindow::MainWindow(AppCore& core, const PageRegistry& registry, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_core(core), m_registry(registry),
      m_caption(new CaptionBar(title(), this)), m_navigationBar(new NavigationBar(this)),
      m_heading(new HeadingBar(this)), m_stack(new PageStack(this)),
      m_buttons(new ButtonBar(registry.createFileButtons(core, nullptr), this)),
      m_statusBar(new StatusBar(core.statusLine(), this)),
      m_navigator(new Navigator(*m_stack, *m_navigationBar, *m_heading, this)), m_tray(new TrayController(*this, this))
{
    initGuiResources();
    setWindowTitle(title());
    setWindowIcon(PageIcons::small());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(EdgeWidth, EdgeWidth, EdgeWidth, EdgeWidth);
    layout->setSpacing(3);
    layout->addWidget(m_caption);
    auto* body = new QHBoxLayout;
    body->setSpacing(4);
    m_navigationBar->setFixedWidth(176);
    body->addWidget(m_navigationBar);
    auto* pageColumn = new QVBoxLayout;
    pageColumn->addWidget(m_heading);
    pageColumn->addWidget(m_stack, 1);
    body->addLayout(pageColumn, 1);
    body->addWidget(m_buttons);
    layout->addLayout(body, 1);
    layout->addWidget(m_statusBar);
    resize(900, 620);
    move(261, 272);

    m_positionWriter.setSingleShot(true);
    m_positionWriter.setInterval(PositionWriteDelayMs);
    connect(&m_positionWriter, &QTimer::timeout, this,
            [this] { m_core.settings().setWindowPosition(pos().x(), pos().y()); });
    connect(m_caption->minimiseButton(), &QToolButton::clicked, this, &MainWindow::minimiseToTray);
    connect(m_caption->contextHelpButton(), &QToolButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });
    connect(m_buttons->readButton(), &QPushButton::clicked, this, [this] { m_core.startRead(); });
    connect(m_buttons->writeButton(), &QPushButton::clicked, this, [this] { m_core.write(); });
    connect(m_buttons->unitsBox(), &QCheckBox::toggled, this, [this](bool on) { m_core.setTransferUnits(on); });
    connect(m_buttons->helpButton(), &QPushButton::clicked, this, &MainWindow::showHelp);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, &MainWindow::showPageHelp);
    connect(m_buttons->quitButton(), &QPushButton::clicked, this, &MainWindow::quit);
    connectCore();
}

MainWindow::~MainWindow()
{
    m_core.setCommitHook({});
    m_core.setPasswordPrompt({});
    m_core.setPrintSink({});
}

void MainWindow::connectCore()
{
    m_core.setCommitHook([this] {
        if (Page* page = m_stack->currentPage())
            page->store();
    });
    m_core.setPasswordPrompt([this](WriteGate::Answer answer) { PasswordDialog::askLater(this, std::move(answer)); });
    m_core.setPrintSink(&PrintoutPrinter::print);
    m_core.statusLine().setPump([this] { m_statusBar->linePanel()->repaint(); });
    connect(&m_core, &AppCore::configDecoded, this, &MainWindow::refreshPages);
    // The charge update ends by refreshing the configuration controls from the image.
    connect(&m_core, &AppCore::chargesDecoded, this, &MainWindow::refreshPages);
    connect(&m_core, &AppCore::transferLockChanged, this,
            [this](bool locked) { setControlsLocked(locked, m_core.isFirmwareTooOld()); });
    connect(&m_core, &AppCore::firmwareTooOld, this, [this] { setControlsLocked(true, true); });
    connect(&m_core, &AppCore::progressChanged, m_statusBar, &StatusBar::setProgress);
    connect(&m_core, &AppCore::clockTick, m_statusBar, &StatusBar::showClock);
    connect(&m_core, &AppCore::closeRequested, this, &QWidget::close);
    connect(&m_core, &AppCore::transferUnitsChanged, m_buttons->unitsBox(), &QCheckBox::setChecked);
    connect(&m_core.signalling(), &DiagnosisSignalling::alarmChanged, m_tray, &TrayController::setAlarm);
    connect(&m_core.signalling(), &DiagnosisSignalling::pageRequested, this, &MainWindow::showRequestedPage);
    connect(&m_core.signalling(), &DiagnosisSignalling::beepRequested, this, [] { QApplication::beep(); });
    connect(&m_core, &AppCore::capiNotice, this, &MainWindow::showNotice);
    // Session end, answered only in the ready state: the flag as for a quit, then the timer stops.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] {
        if (m_core.isReady())
            m_core.closeQuery(!isShownNormally(), true, {});
    });
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (m_core.isReady())
            m_core.stopTimer();
    });
}

void MainWindow::showFirstPageOnly()
{
    if (m_stack->count() == 0)
        m_stack->build(m_registry, m_core);
    m_navigator->showEntry(0);
}

void MainWindow::buildPages()
{
    if (m_stack->count() == 0)
        m_stack->build(m_registry, m_core);
    m_statusBar->showClock(m_core.clock().now());
    refreshPages();
    setControlsLocked(m_core.isTransferLocked());
    if (auto* page = qobject_cast<ProgramParameterPage*>(m_stack->page(PageKey::ProgramParameters)))
        connect(page, &ProgramParameterPage::fontFaceChanged, this, &MainWindow::applyFontFace, Qt::UniqueConnection);
}

void MainWindow::selectPort(int position)
{
    if (auto* page = qobject_cast<ProgramParameterPage*>(m_stack->page(PageKey::ProgramParameters)))
        page->selectPort(position);
}

void MainWindow::moveWindow(int x, int y)
{
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QSize extent = size().expandedTo(minimumSizeHint());
    move(WindowPlacement::fit(QPoint(x, y), extent, screens));
}

void MainWindow::applyFontFace()
{
    FontFace::apply(this, m_navigationBar, m_core.settings().fontFace());
}

void MainWindow::showStartPage(int position)
{
    if (const std::optional<int> index = NavigationTable::startPageIndex(position))
        m_navigator->showEntry(*index);
}

void MainWindow::showWindow()
{
    restoreFromTray();
}

void MainWindow::startInTray()
{
    // Without a tray the window waits minimised in the task bar, never out of reach.
    minimiseToTray();
}

bool MainWindow::isShownNormally() const
{
    return isVisible() && !isMinimized();
}

void MainWindow::minimiseToTray()
{
    if (m_tray->hasTray())
        hide();
    else
        showMinimized();
}

void MainWindow::restoreFromTray()
{
    m_core.signalling().setAlarm(false);
    m_tray->setAlarm(false);
    showNormal();
    raise();
    activateWindow();
}

void MainWindow::quit()
{
    m_quitRequested = true;
    close();
}

void MainWindow::onSecondStart()
{
    m_navigator->showHeading(QStringLiteral("Grundkonfiguration"));
    m_tray->click();
}

void MainWindow::showHelp()
{
    helpWindow().showContents();
}

void MainWindow::showPageHelp()
{
    const int index = m_navigator->currentIndex();
    if (index < 0)
        helpWindow().showContents();
    else
        helpWindow().showPage(NavigationTable::entries().at(index).heading);
}

HelpWindow& MainWindow::helpWindow()
{
    if (!m_help)
        m_help = new HelpWindow(this);
    return *m_help;
}

void MainWindow::showAlarmInTitle(bool on)
{
    const QString text = on ? title() + QStringLiteral(" - Alarm") : title();
    setWindowTitle(text);
    m_caption->setTitle(text);
}

void MainWindow::setControlsLocked(bool locked, bool keepHelpAndExit)
{
    m_navigationBar->setEnabled(!locked);
    m_caption->minimiseButton()->setEnabled(!locked);
    m_caption->contextHelpButton()->setEnabled(!locked);
    m_buttons->setLocked(locked, keepHelpAndExit);
    m_tray->setLocked(locked);
    for (Page* page : m_stack->pages())
        page->setTransferLock(locked);
}

void MainWindow::refreshPages()
{
    for (Page* page : m_stack->pages())
        page->refresh();
}

void MainWindow::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, palette().window());
    const int right = r.right();
    const int bottom = r.bottom();
    // Raised edge: light lines on the top and left, dark lines on the bottom and right.
    painter.setPen(QColor(224, 224, 224));
    painter.drawLine(0, 0, right - 1, 0);
    painter.drawLine(0, 0, 0, bottom - 1);
    painter.setPen(Qt::white);
    painter.drawLine(1, 1, right - 2, 1);
    painter.drawLine(1, 1, 1, bottom - 2);
    painter.setPen(Qt::black);
    painter.drawLine(0, bottom, right, bottom);
    painter.drawLine(right, 0, right, bottom);
    painter.setPen(QColor(160, 160, 160));
    painter.drawLine(1, bottom - 1, right - 1, bottom - 1);
    painter.drawLine(right - 1, 1, right - 1, bottom - 1);
}

void MainWindow::mousePressEvent(QMouseEvent* event)
{
    // A press that no control took lands here: the free client area moves the window.
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MainWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging)
        move(event->globalPosition().toPoint() - m_dragOffset);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    m_dragging = false;
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (m_core.isReady())
        m_positionWriter.start();
}

void MainWindow::showRequestedPage(Signalling::Page page)
{
    restoreFromTray();
    m_navigator->showHeading(page == Signalling::Page::Diagnosis ? QStringLiteral("Diagnosemodus")
                                                                 : QStringLiteral("Abgehende Gespräche"));
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_core.signalling().setWindowHidden(!isShownNormally());
}

void MainWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_core.signalling().setWindowHidden(true);
}

void MainWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        m_core.signalling().setWindowHidden(!isShownNormally());
    // Minimised by the desktop (a shortcut, the task bar): into the tray where there is one.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_tray->hasTray())
        QTimer::singleShot(0, this, &QWidget::hide);
}

// The close query's pause and the end of a running ring take a moment: the window answers the
// close later, from the event loop.
void MainWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (m_closing)
        return;
    m_closing = true;
    m_core.closeQuery(!isShownNormally(), m_quitRequested, [this] {
        if (!m_quitRequested) {
            m_closing = false;
            minimiseToTray();
            return;
        }
        m_core.shutdown([this] {
            m_tray->hide();
            if (m_help)
                m_help->close();
            hide();
            QCoreApplication::quit();
        });
    });
}

// Not modal: the box must not hold up the event loop that the core runs on.
void MainWindow::showNotice(const QString& text)
{
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("WinKavex"), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
