// What the options window changes in the main window, and the options commands.

#include "core/commanderror.h"
#include "mainwindow/mainwindow.h"
#include "editor/editorviews.h"
#include "editor/editorview.h"
#include "settings/windowsettings.h"

#include <QAction>
#include <QTimer>
#include <QToolBar>

void MainWindow::setStayOnTop(bool on)
{
    m_actions.value(QStringLiteral("StayOnTop1"))->setChecked(on);
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    // Changing the flag re-creates the window, which hides it; it comes back where it was.
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown)
        show();
}

void MainWindow::setSettingsAutoSave(bool on)
{
    FormStorage1->setActive(on);
}

void MainWindow::setAutoSave(bool on)
{
    if (on)
        AutoSave1->start();
    else
        AutoSave1->stop();
}

bool MainWindow::autoSaveRunning() const
{
    return AutoSave1->isActive();
}

void MainWindow::setTrayIcon(bool on)
{
    m_trayIconProperty = on;
}

void MainWindow::setToolBarShown(bool on)
{
    ToolBar1->setVisible(on);
    m_actions.value(QStringLiteral("ShowToolBars1"))->setChecked(on);
}

void MainWindow::turnWordWrapOn()
{
    if (!m_views->settings().wordWrap)
        WordWrapBtn1Click();
}

OptionsDialogs MainWindow::fileDialogs()
{
    return {&OpenDialog1, &SaveDialog1, &InsertDialog1, &SaveDialog2};
}

void MainWindow::setEditorFont(const QFont& font)
{
    EditorSettings settings = m_views->settings();
    settings.font = font;
    m_views->setSettings(settings);
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

void MainWindow::applyFilters()
{
    if (QuilletOp)
        QuilletOp->applyFilters(OpenDialog1, SaveDialog1, SaveDialog2, InsertDialog1);
}

void MainWindow::Preferences1Click()
{
    if (QuilletOp)
        QuilletOp->execute();
}

void MainWindow::Properties1Click()
{
    if (!QuilletOp)
        return;
    QuilletOp->showPage(2);
    QuilletOp->execute();
}
