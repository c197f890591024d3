#include "mainwindow/sidewindowscontroller.h"

#include "documents/documentset.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/programwindows.h"
#include "mainwindow/viewcontroller.h"
#include "windows/utilityoptionsdialog.h"

#include <QListWidget>

SideWindowsController::SideWindowsController(DocumentSet& documents, FileController& files, ViewController& view,
                                             const ProgramWindows& windows)
    : m_documents(documents), m_files(files), m_view(view), m_windows(windows)
{}

void SideWindowsController::showDocumentSelector()
{
    DocumentSelector* selector = m_windows.documentSelector;
    if (!selector)
        return;
    setKeptOnTop(*selector, !m_windows.utilityOptions || m_windows.utilityOptions->documentSelectorKeptOnTop());
    m_documents.refreshDocumentList();
    selector->show();
    selector->raise();
    selector->activateWindow();
    selector->documentList()->setFocus();
}

void SideWindowsController::showUtilityOptions()
{
    if (m_windows.utilityOptions)
        m_windows.utilityOptions->execute();
}

void SideWindowsController::goToDocument(int index)
{
    m_documents.switchTo(index);
    // The entry of the tab now in force, whether the switch happened or not.
    m_documents.refreshDocumentList();
}

void SideWindowsController::newDocument()
{
    m_files.newDocument();
}

void SideWindowsController::closeDocument()
{
    m_files.closeDocument();
}

void SideWindowsController::previousDocument()
{
    m_view.previousDocument();
}

void SideWindowsController::nextDocument()
{
    m_view.nextDocument();
}
