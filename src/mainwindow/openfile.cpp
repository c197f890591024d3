// Opening a file by path: the one routine every way of opening a file ends in.

#include "core/commanderror.h"
#include "mainwindow/mainwindow.h"
#include "commands/datestamp.h"
#include "editor/editorviews.h"
#include "editor/editorview.h"
#include "platform/platform.h"

#include <QCoreApplication>
#include <QFileInfo>

void MainWindow::OpenFileByPath(const QString& path)
{
    m_documents->stashCurrentDocument();
    m_documents->appendEntry(QFileInfo(path).fileName(), path);
    try {
        m_views->loadFile(path);
    } catch (const CommandError&) {
        // An unreadable file still becomes a document under its name; saving it creates it.
        platform::beep();
    }
    Editor->clearModifiedFlag();
    m_documents->addDocumentSlot();
    m_documents->setCurrentModifiedEntry(NotModifiedEntry);
    m_documents->refreshTabPictures();
    saveDialogFileNameChanged(path);
    statusModifiedChanged(false);
    addRecent(path);
    LogStampCheck();
    tabHintChanged(m_documents->currentTabHint());
    editorHintChanged(path);
    titleDocumentTextChanged(m_documents->titleDocumentText());
    QCoreApplication::processEvents();
    Editor->setFocus();
}

void MainWindow::LogStampCheck()
{
    // Line 0 without its line break must be ".LOG" exactly.
    const qint64 lineEnd = Editor->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, 0UL);
    if (lineEnd != 4 || Editor->textView().first(4) != QByteArrayView(".LOG"))
        return;
    appendLine(StampSource::stamp(m_stampFormat));
    // The document stays "Not Modified"; the editor's own flag is set, so the next key marks it.
    Editor->setCaret(Editor->textLength());
}
