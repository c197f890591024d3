#include "mainwindow/clipbookcontroller.h"

#include "core/commanderror.h"
#include "core/prompts.h"
#include "documents/documentset.h"
#include "editor/editorview.h"
#include "editor/editorviews.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/filedialogs.h"
#include "mainwindow/programwindows.h"
#include "platform/platform.h"
#include "windows/configurationdialog.h"
#include "windows/optionsdialog.h"
#include "windows/utilityoptionsdialog.h"

ClipBookController::ClipBookController(DocumentSet& documents, EditorViews& views, FileController& files,
                                       const ProgramWindows& windows, FileDialogs& dialogs)
    : m_documents(documents), m_views(views), m_files(files), m_windows(windows), m_dialogs(dialogs)
{}

ClipBookController::~ClipBookController()
{
    // The window outlives the main window in some orders of destruction.
    if (m_windows.clipBook && m_windows.clipBook->host() == this)
        m_windows.clipBook->setHost(nullptr);
}

ClipBookWindow& ClipBookController::window()
{
    if (!m_windows.clipBook)
        throw CommandError(QStringLiteral("The ClipBook window is not there."));
    if (m_windows.clipBook->host() != this)
        m_windows.clipBook->setHost(this);
    return *m_windows.clipBook;
}

EditorView& ClipBookController::editor() const
{
    return *m_views.current();
}

void ClipBookController::showPage(ClipBookWindow::Page page)
{
    // Each view stays above every window when the utility options say so.
    const UtilityOptionsDialog* options = m_windows.utilityOptions;
    const bool onTop = options && (page == ClipBookWindow::Page::Items ? options->clipBookKeptOnTop()
                                                                       : options->clipBookFilesKeptOnTop());
    window().showPage(page, onTop);
}

// --- Commands ------------------------------------------------------------------------------------

void ClipBookController::showClipBook()
{
    showPage(ClipBookWindow::Page::Items);
}

void ClipBookController::newTemplate()
{
    showPage(ClipBookWindow::Page::Items);
    window().newTemplate();
}

void ClipBookController::addSelection()
{
    window().setPage(ClipBookWindow::Page::Items);
    const clipbook::Item item = clipbook::splitMarkedSelection(selectedDocumentText());
    window().addItem(item.name, item.text);
    showPage(ClipBookWindow::Page::Items);
}

QString ClipBookController::chooseTemplateFile(const QString& filter, const QString& title, const QString& extension,
                                               const QString& fileName)
{
    m_dialogs.open.filter = filter;
    m_dialogs.open.filterIndex = 1;
    m_dialogs.open.title = title;
    m_dialogs.open.defaultExt = extension;
    m_dialogs.open.fileName = fileName;
    const QStringList chosen = Prompts::current().openFiles(m_dialogs.open);
    return chosen.value(0);
}

void ClipBookController::importTemplate()
{
    window().setPage(ClipBookWindow::Page::Items);
    const QString path =
        chooseTemplateFile(QStringLiteral("ClipBook Templates|*.cpb"), QStringLiteral("Open ClipBook Template"),
                           QStringLiteral("cpb"), QStringLiteral("ClipBook Template"));
    if (path.isEmpty())
        return;
    showPage(ClipBookWindow::Page::Items);
    try {
        window().importTemplate(path);
    } catch (const CommandError&) {
        platform::beep();
    }
}

void ClipBookController::showClipBookFiles()
{
    showPage(ClipBookWindow::Page::Files);
}

void ClipBookController::newFileTemplate()
{
    showPage(ClipBookWindow::Page::Files);
    window().newFileTemplate();
}

void ClipBookController::addCurrentDocument()
{
    window().setPage(ClipBookWindow::Page::Files);
    window().addFilePath(m_documents.currentDisplayPath());
    showPage(ClipBookWindow::Page::Files);
}

void ClipBookController::importFileTemplate()
{
    clipbook::ensureFolder(programDirectory(), clipbook::Kind::FileTemplate);
    window().setPage(ClipBookWindow::Page::Files);
    const QString path = chooseTemplateFile(QStringLiteral("ClipBook File Templates|*.fff"),
                                            QStringLiteral("Open ClipBook File Template"), QStringLiteral("fff"),
                                            QStringLiteral("ClipBook File Template"));
    if (path.isEmpty())
        return;
    showPage(ClipBookWindow::Page::Files);
    try {
        window().importFileTemplate(path);
    } catch (const CommandError&) {
        platform::beep();
    }
}

void ClipBookController::goToFile(clipbook::Step step)
{
    const std::optional<QString> path = window().stepToFile(step);
    if (!path) {
        platform::beep();
        return;
    }
    m_files.openPath(*path);
}

// --- What the ClipBook window reaches ------------------------------------------------------------

QString ClipBookController::programDirectory()
{
    const QString dir = m_windows.configuration ? m_windows.configuration->programDirectory() : QString();
    return dir.isEmpty() ? platform::programDirectory() : dir;
}

QString ClipBookController::selectedDocumentText()
{
    const EditorView& view = editor();
    return QString::fromUtf8(view.textView().sliced(view.selStart(), view.selLength()));
}

void ClipBookController::replaceDocumentSelection(const QString& text)
{
    EditorView& view = editor();
    const qint64 start = view.selStart();
    view.replaceRange(start, start + view.selLength(), text.toUtf8());
    m_documents.markCurrentModified();
}

void ClipBookController::insertBeforeDocumentSelection(const QString& text)
{
    EditorView& view = editor();
    const qint64 start = view.selStart();
    view.replaceRange(start, start, text.toUtf8());
    m_documents.markCurrentModified();
}

void ClipBookController::openDocument(const QString& path)
{
    m_files.openPath(path);
}

void ClipBookController::openDocuments(const QStringList& paths)
{
    m_files.openPaths(paths);
}

platform::TextEncoding ClipBookController::legacyEncoding()
{
    return OptionsDialog::valuesOf(m_windows.options).legacyEncoding;
}

QStringList ClipBookController::chooseFilesToAdd()
{
    applyFilters(m_windows, m_dialogs);
    return Prompts::current().openFiles(m_dialogs.open);
}

TemplateNameDialog* ClipBookController::namingDialog()
{
    return m_windows.templateName;
}
