#pragma once
// The side windows the main window shows on demand: the document selector (Ctrl+D, and the host
// its buttons reach the documents through) and the utility options window (Ctrl+F3), whose
// keep-on-top boxes decide each time a side window is shown whether it stays above every window.

#include "windows/documentselector.h"

class DocumentSet;
class FileController;
class ViewController;
struct ProgramWindows;

class SideWindowsController : public DocumentSelectorHost
{
public:
    SideWindowsController(DocumentSet& documents, FileController& files, ViewController& view,
                          const ProgramWindows& windows);

    // "&Document Selector": z-order from the utility options, the list in step, shown.
    void showDocumentSelector();
    void showUtilityOptions();

    // DocumentSelectorHost
    void goToDocument(int index) override;
    void newDocument() override;
    void closeDocument() override;
    void previousDocument() override;
    void nextDocument() override;

private:
    DocumentSet& m_documents;
    FileController& m_files;
    ViewController& m_view;
    const ProgramWindows& m_windows;
};
