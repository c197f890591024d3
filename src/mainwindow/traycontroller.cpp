#include "mainwindow/traycontroller.h"

#include "core/commanderror.h"
#include "core/pictures.h"
#include "mainwindow/commandregistry.h"
#include "mainwindow/programwindows.h"
#include "mainwindow/sidewindowscontroller.h"
#include "mainwindow/statusbar.h"
#include "platform/launcher.h"
#include "platform/platform.h"
#include "windows/aboutwindow.h"
#include "windows/clipbookwindow.h"
#include "windows/documentselector.h"
#include "windows/optionsdialog.h"
#include "windows/tipwindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QVariantAnimation>

namespace {

const QString NoTrayNote = QStringLiteral("This desktop has no notification area: Quillet stays on screen.");
const QString NoOnTopNote = QStringLiteral("This desktop does not let a window stay on top of the others.");
const QString TrayGoneNote = QStringLiteral("The notification area went away: Quillet is back on screen.");
const QString IconOffNote =
    QStringLiteral("The tray icon is switched off (Options, Use System Tray): Quillet stays on screen.");
constexpr int ToolBarHeight = 33;
// Qt tells nothing public when the notification area goes away; a look twice a second while the
// program is hidden is cheap.
constexpr int TrayWatchMs = 500;
// The designed pace: one pixel every 5 ms.
constexpr int MillisecondsPerPixel = 5;

QIcon picture(const char* name)
{
    return ownPicture(QLatin1String(name));
}

} // namespace

bool TrayController::trayAvailable()
{
    return AssumeTrayAvailable || QSystemTrayIcon::isSystemTrayAvailable();
}

TrayController::TrayController(QMainWindow& window, QToolBar& toolBar, StatusBar& statusBar, CommandRegistry& commands,
                               const ProgramWindows& windows, QMenu& trayMenu)
    : m_window(window), m_toolBar(toolBar), m_statusBar(statusBar), m_commands(commands), m_windows(windows),
      m_trayMenu(trayMenu), m_desktop(std::make_unique<platform::DesktopLauncher>()), m_launcher(m_desktop.get())
{
    m_icon = std::make_unique<QSystemTrayIcon>(picture("QuilLogo"));
    m_icon->setObjectName(QStringLiteral("TrayIcon"));
    m_icon->setToolTip(QStringLiteral("Quillet v4.6"));
    m_icon->setContextMenu(&m_trayMenu);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { iconActivated(static_cast<int>(reason)); });
    connect(&m_trayMenu, &QMenu::aboutToShow, this, [this] { setMenuPictures(); });
    if (QAction* restore = m_commands.action(QStringLiteral("RestoreQuillet1")))
        m_trayMenu.setDefaultAction(restore);
    m_trayWatch = new QTimer(this);
    m_trayWatch->setInterval(TrayWatchMs);
    connect(m_trayWatch, &QTimer::timeout, this, [this] { checkTrayWhileHidden(); });

    // The tool bar's own menu: its items run the Options menu's commands.
    m_toolBarMenu = new QMenu(&m_window);
    m_toolBarMenu->setObjectName(QStringLiteral("ToolMenu3"));
    auto entry = [this](const char* name, const QString& caption, const char* command) {
        QAction* target = m_commands.action(QLatin1String(command));
        QAction* item = m_toolBarMenu->addAction(caption);
        item->setObjectName(QLatin1String(name));
        if (!target)
            return;
        connect(item, &QAction::triggered, target, &QAction::trigger);
        item->setEnabled(target->isEnabled());
        connect(target, &QAction::changed, item, [item, target] { item->setEnabled(target->isEnabled()); });
    };
    entry("AlignTop1", QStringLiteral("Align &Top"), "Top1");
    entry("AlignBottom1", QStringLiteral("Align &Bottom"), "Bottom1");
    m_toolBarMenu->addSeparator();
    entry("HideToolBar1", QStringLiteral("Hide &Tool Bar"), "ShowToolBars1");
    m_toolBar.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_toolBar, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_toolBarMenu->popup(m_toolBar.mapToGlobal(pos)); });
}

TrayController::~TrayController()
{
    finishSlide();
}

// --- The icon ------------------------------------------------------------------------------------

void TrayController::setIconWanted(bool wanted)
{
    m_iconWanted = wanted;
    // Qt puts the icon into a notification area that appears later.
    m_icon->setVisible(wanted);
}

bool TrayController::isActive() const
{
    return m_iconWanted && trayAvailable();
}

void TrayController::iconActivated(int reason)
{
    // A click and a double click both restore; the menu opens by itself on a right click.
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
        restoreProgram();
}

void TrayController::setMenuPictures()
{
    const std::pair<const char*, const char*> pictures[] = {{"NewTextFile1", "NewBtn1"},
                                                            {"OpenTextFile1", "OpenBtn1"},
                                                            {"ReOpen2", "UndoBtn1"},
                                                            {"Exit2", "CloseDocBtn1"},
                                                            {"RestoreQuillet1", "QuilLogo"}};
    for (const auto& [item, image] : pictures)
        if (QAction* action = m_commands.action(QLatin1String(item)))
            action->setIcon(picture(image));
}

void TrayController::noTrayNote()
{
    // The user's own switch is named first; only an icon that is wanted can lack a tray.
    m_statusBar.setMessage(m_iconWanted ? NoTrayNote : IconOffNote);
}

// --- Hiding and restoring ------------------------------------------------------------------------

QList<QWidget*> TrayController::sideWindows() const
{
    QList<QWidget*> windows{m_windows.clipBook, m_windows.documentSelector, m_windows.tips, m_windows.about};
    windows.removeAll(nullptr);
    return windows;
}

void TrayController::rememberSideWindows()
{
    m_shownAtHide.clear();
    for (QWidget* window : sideWindows())
        if (window->isVisible())
            m_shownAtHide.append(window);
}

void TrayController::hideProgram()
{
    // Hidden without an icon, nothing could bring the program back.
    if (!isActive()) {
        noTrayNote();
        return;
    }
    rememberSideWindows();
    for (QWidget* window : sideWindows())
        window->hide();
    m_window.hide();
    m_trayWatch->start();
}

void TrayController::restoreProgram()
{
    m_trayWatch->stop();
    // The side windows are given back as the last Hide left them only when the program was hidden;
    // a click on the icon while it is shown leaves them as they are.
    const bool wasHidden = !m_window.isVisible();
    if (m_window.isMinimized())
        m_window.showNormal();
    else
        m_window.show();
    m_window.raise();
    m_window.activateWindow();
    if (!wasHidden)
        return;
    // After the main window, so that they come above it. Only shown ones: the tip of the day may
    // have come up with the main window by its own box.
    for (const QPointer<QWidget>& window : std::as_const(m_shownAtHide))
        if (window)
            window->show();
}

void TrayController::hideAtStart()
{
    hideProgram();
}

void TrayController::checkTrayWhileHidden()
{
    // Shown some other way meanwhile: the next Hide asks the tray again.
    if (m_window.isVisible()) {
        m_trayWatch->stop();
        return;
    }
    if (trayAvailable())
        return;
    restoreProgram();
    m_statusBar.setMessage(TrayGoneNote);
}

// --- Window modes --------------------------------------------------------------------------------

void TrayController::applyStayOnTop()
{
    const bool on = m_commands.action(QStringLiteral("StayOnTop1"))->isChecked();
    // The choice stays checked and stored, for a desktop that honours it.
    if (on && platform::desktopPlacesWindows())
        m_statusBar.setMessage(NoOnTopNote);
    setKeptOnTop(m_window, on);
}

bool TrayController::animationWanted() const
{
    return OptionsDialog::valuesOf(m_windows.options).animate;
}

bool TrayController::toolBarAtBottom() const
{
    return m_window.toolBarArea(&m_toolBar) == Qt::BottomToolBarArea;
}

void TrayController::updateToolBarCommands()
{
    const bool bottom = toolBarAtBottom();
    m_commands.action(QStringLiteral("Top1"))->setEnabled(bottom);
    m_commands.action(QStringLiteral("Bottom1"))->setEnabled(!bottom);
}

void TrayController::placeToolBar(bool bottom)
{
    m_window.addToolBar(bottom ? Qt::BottomToolBarArea : Qt::TopToolBarArea, &m_toolBar);
}

void TrayController::toolBarPlaced(bool bottom)
{
    m_toolBar.setFixedHeight(ToolBarHeight);
    m_toolBar.show();
    m_commands.action(QStringLiteral("Top1"))->setEnabled(bottom);
    m_commands.action(QStringLiteral("Bottom1"))->setEnabled(!bottom);
    m_commands.action(QStringLiteral("ShowToolBars1"))->setChecked(true);
    if (QWidget* central = m_window.centralWidget())
        central->update();
}

void TrayController::toolBarToTop()
{
    finishSlide();
    if (!animationWanted()) {
        placeToolBar(false);
        toolBarPlaced(false);
        return;
    }
    // Out of its place, then into the top one.
    const int from = m_toolBar.isHidden() ? 0 : ToolBarHeight;
    slide(from, 0, [this] {
        placeToolBar(false);
        m_toolBar.setFixedHeight(0);
        m_toolBar.show();
        slide(0, ToolBarHeight, [this] { toolBarPlaced(false); });
    });
}

void TrayController::toolBarToBottom()
{
    finishSlide();
    if (!animationWanted()) {
        placeToolBar(true);
        toolBarPlaced(true);
        return;
    }
    const int from = m_toolBar.isHidden() ? 0 : ToolBarHeight;
    slide(from, 0, [this] {
        placeToolBar(true);
        m_toolBar.setFixedHeight(0);
        m_toolBar.show();
        slide(0, ToolBarHeight, [this] { toolBarPlaced(true); });
    });
}

void TrayController::toggleToolBar()
{
    finishSlide();
    const bool show = m_commands.action(QStringLiteral("ShowToolBars1"))->isChecked();
    auto repaint = [this] {
        if (QWidget* central = m_window.centralWidget())
            central->update();
    };
    if (!animationWanted()) {
        m_toolBar.setVisible(show);
        repaint();
        return;
    }
    if (show) {
        m_toolBar.setFixedHeight(0);
        m_toolBar.show();
        slide(0, ToolBarHeight, repaint);
    } else {
        slide(m_toolBar.isHidden() ? 0 : ToolBarHeight, 0, [this, repaint] {
            m_toolBar.hide();
            m_toolBar.setFixedHeight(ToolBarHeight);
            repaint();
        });
    }
}

void TrayController::slide(int from, int to, std::function<void()> done)
{
    if (from == to) {
        m_toolBar.setFixedHeight(to);
        done();
        return;
    }
    // Driven by the event loop: input is never held up, each step only resizes the bar.
    m_slide = new QVariantAnimation(this);
    m_slide->setStartValue(from);
    m_slide->setEndValue(to);
    m_slide->setDuration(qAbs(to - from) * MillisecondsPerPixel);
    m_slideDone = std::move(done);
    connect(m_slide, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { m_toolBar.setFixedHeight(value.toInt()); });
    connect(m_slide, &QVariantAnimation::finished, this, [this, to] {
        m_slide->deleteLater();
        m_slide = nullptr;
        m_toolBar.setFixedHeight(to);
        std::exchange(m_slideDone, {})();
    });
    m_slide->start();
}

bool TrayController::toolBarSliding() const
{
    return m_slide != nullptr;
}

void TrayController::finishSlide()
{
    // Each phase ends at once; one that starts another phase is ended in turn.
    while (m_slide) {
        QVariantAnimation* slide = std::exchange(m_slide, nullptr);
        slide->disconnect(this);
        slide->stop();
        m_toolBar.setFixedHeight(slide->endValue().toInt());
        slide->deleteLater();
        if (auto done = std::exchange(m_slideDone, {})) {
            done();
        }
        // A phase started by `done` would animate: it too ends at once.
    }
}

// --- Another copy --------------------------------------------------------------------------------

void TrayController::setLauncher(platform::Launcher* launcher)
{
    m_launcher = launcher ? launcher : m_desktop.get();
}

void TrayController::startAnotherInstance()
{
    const QString program = QCoreApplication::applicationFilePath();
    if (!m_launcher->startProgram(program, {}))
        throw CommandError(QStringLiteral("Another Quillet window could not be started from \"%1\".").arg(program));
}
