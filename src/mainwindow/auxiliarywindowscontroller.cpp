#include "mainwindow/auxiliarywindowscontroller.h"

#include "mainwindow/programwindows.h"
#include "mainwindow/statusbar.h"
#include "windows/aboutwindow.h"
#include "windows/configurationdialog.h"
#include "windows/tipwindow.h"

AuxiliaryWindowsController::AuxiliaryWindowsController(const ProgramWindows& windows, StatusBar& statusBar)
    : m_windows(windows), m_statusBar(statusBar)
{}

void AuxiliaryWindowsController::showTipOfTheDay()
{
    if (m_windows.tips)
        m_windows.tips->showTip();
}

void AuxiliaryWindowsController::showAbout()
{
    // Not modal: its "Tip of the Day..." button opens the tip window, which must take input.
    if (!m_windows.about)
        return;
    m_windows.about->show();
    m_windows.about->raise();
    m_windows.about->activateWindow();
}

void AuxiliaryWindowsController::configure()
{
    if (!m_windows.configuration)
        return;
    const QString failed = m_windows.configuration->execute();
    if (!failed.isEmpty())
        m_statusBar.setMessage(failed);
}
