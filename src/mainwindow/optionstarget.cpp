// What the options window changes in the main window.

#include "editor/editorviews.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/printcontroller.h"
#include "mainwindow/traycontroller.h"
#include "mainwindow/viewcontroller.h"
#include "settings/windowsettings.h"
#include "windows/windowbase.h"

#include <QAction>
#include <QTimer>
#include <QToolBar>

void MainWindow::setStayOnTop(bool on)
{
    action(QStringLiteral("StayOnTop1"))->setChecked(on);
    m_tray->applyStayOnTop();
}

void MainWindow::setSettingsAutoSave(bool on)
{
    m_storage->setActive(on);
}

void MainWindow::setAutoSave(bool on)
{
    if (on)
        m_autoSaveTimer->start();
    else
        m_autoSaveTimer->stop();
}

bool MainWindow::autoSaveRunning() const
{
    return m_autoSaveTimer->isActive();
}

void MainWindow::setTrayIcon(bool on)
{
    m_trayIconProperty = on;
    m_tray->setIconWanted(on);
}

void MainWindow::setToolBarShown(bool on)
{
    // A slide on its way would show the bar again when it ends.
    m_tray->finishSlide();
    m_toolBar->setVisible(on);
    action(QStringLiteral("ShowToolBars1"))->setChecked(on);
}

void MainWindow::turnWordWrapOn()
{
    if (!m_views->settings().wordWrap)
        m_view->toggleWordWrap();
}

OptionsDialogs MainWindow::fileDialogs()
{
    return {&m_dialogs.open, &m_dialogs.save, &m_dialogs.insert, &m_dialogs.saveSelection};
}

bool MainWindow::dropEnabled() const
{
    return m_views->settings().acceptFileDrops;
}

void MainWindow::setDropEnabled(bool enabled)
{
    m_views->setAcceptFileDrops(enabled);
}

void MainWindow::setEditorFont(const QFont& font)
{
    m_views->setFont(font);
    m_print->setSelectionFont(font);
}

void MainWindow::setPageColour(qint32 stored)
{
    EditorSettings settings = m_views->settings();
    settings.paper = stored;
    m_views->setSettings(settings);
}

void MainWindow::setTextColour(qint32 stored)
{
    EditorSettings settings = m_views->settings();
    settings.ink = stored;
    m_views->setSettings(settings);
}
