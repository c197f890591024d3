#pragma once
// The ClipBook commands of the main window: the ClipBook window on its item page or its file
// page, a new template or File Template, the selection as a new item ("<!>" between its name and
// its text), the current document as a new entry of the File Template, the import of template
// files from anywhere, and the walk through the File Template's files without showing the window.
// It is also what the ClipBook window reaches of the main window: the current document's
// selection, opening a file, the open dialog and the naming window.

#include "commands/clipbookstore.h"
#include "windows/clipbookwindow.h"

class DocumentSet;
class EditorView;
class EditorViews;
class FileController;
struct FileDialogs;
struct ProgramWindows;

class ClipBookController : public ClipBookHost
{
public:
    ClipBookController(DocumentSet& documents, EditorViews& views, FileController& files, const ProgramWindows& windows,
                       FileDialogs& dialogs);
    ~ClipBookController() override;
    ClipBookController(const ClipBookController&) = delete;
    ClipBookController& operator=(const ClipBookController&) = delete;

    void showClipBook();
    void newTemplate();
    void addSelection();
    void importTemplate();
    void showClipBookFiles();
    void newFileTemplate();
    void addCurrentDocument();
    void importFileTemplate();
    void goToFile(clipbook::Step step);

    // ClipBookHost
    QString programDirectory() override;
    QString selectedDocumentText() override;
    void replaceDocumentSelection(const QString& text) override;
    void insertBeforeDocumentSelection(const QString& text) override;
    void openDocument(const QString& path) override;
    void openDocuments(const QStringList& paths) override;
    platform::TextEncoding legacyEncoding() override;
    QStringList chooseFilesToAdd() override;
    TemplateNameDialog* namingDialog() override;

private:
    // The ClipBook window, connected to this controller.
    ClipBookWindow& window();
    EditorView& editor() const;
    void showPage(ClipBookWindow::Page page);
    // The open dialog set up for an import; the file chosen, empty when cancelled.
    QString chooseTemplateFile(const QString& filter, const QString& title, const QString& extension,
                               const QString& fileName);

    DocumentSet& m_documents;
    EditorViews& m_views;
    FileController& m_files;
    const ProgramWindows& m_windows;
    FileDialogs& m_dialogs;
};
