// Commands that move text between the current document and other files: export with UNIX or
// Macintosh line endings, insert a file, save the selection, append the selection to a file.
// None of them touches the document's own file name, tab or saved state. Every write goes
// through writeTextFile, so a failed write leaves the old file as it was.

#include "core/commanderror.h"
#include "core/prompts.h"
#include "mainwindow/mainwindow.h"
#include "documents/documentset.h"
#include "editor/editorviews.h"
#include "documents/filesave.h"
#include "editor/editorview.h"
#include "documents/textlines.h"

namespace {

bool isLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

// The whole document with every logical line ended by exactly one `ends` terminator. The text
// is read from the buffer, never from the display, so word wrap cannot add a break; the writer
// converts every break, and only a last line without one needs a terminator added.
void exportDocument(EditorView* editor, FileDialogState& selectionDialog, const QString& title, LineEnds ends)
{
    // The export's own dialog: no file types, the selection dialog's extension and name.
    FileDialogState dialog;
    dialog.title = title;
    dialog.defaultExt = selectionDialog.defaultExt;
    dialog.fileName = selectionDialog.fileName;
    dialog.initialDir = selectionDialog.initialDir;
    const QString path = withDefaultExtension(Prompts::current().saveFile(dialog), dialog.defaultExt);
    if (path.isEmpty())
        return;

    const QByteArrayView text = editor->textView();
    if (text.isEmpty()) {
        Prompts::current().information(QStringLiteral("Information"),
                                       QStringLiteral("The document is empty. There is nothing to save."));
        return;
    }
    if (isLineBreak(text.back())) {
        writeTextFile(path, text, ends);
    } else {
        QByteArray terminated(text.size() + 1, Qt::Uninitialized);
        std::copy(text.begin(), text.end(), terminated.begin());
        terminated.back() = '\n';
        writeTextFile(path, terminated, ends);
    }
}

QByteArray selectedBytes(EditorView* editor)
{
    return editor->textView().sliced(editor->selStart(), editor->selLength()).toByteArray();
}

} // namespace

void MainWindow::UNIXLFOnly1Click()
{
    exportDocument(Editor, SaveDialog2, QStringLiteral("Export File to UNIX Format"), LineEnds::Lf);
}

void MainWindow::MACCRonly1Click()
{
    exportDocument(Editor, SaveDialog2, QStringLiteral("Export File to MAC Format"), LineEnds::Cr);
}

void MainWindow::InsertFile1Click()
{
    applyFilters();
    OpenDialog1.title = QStringLiteral("Insert Text File");
    OpenDialog1.defaultExt = QStringLiteral("txt");
    OpenDialog1.fileName.clear();
    const QStringList files = Prompts::current().openFiles(OpenDialog1);
    if (files.isEmpty())
        return;
    TextBox1.clear();
    TextBox1 = readFileBytes(files.first());

    // One undoable replacement of the selection (an empty one at the caret), caret after it.
    const qint64 start = Editor->selStart();
    Editor->beginUndoAction();
    Editor->SendScintilla(QsciScintillaBase::SCI_SETTARGETRANGE, static_cast<unsigned long>(start),
                          static_cast<long>(start + Editor->selLength()));
    Editor->SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, static_cast<uintptr_t>(TextBox1.size()),
                          TextBox1.constData());
    Editor->endUndoAction();
    Editor->setCaret(start + TextBox1.size());
    m_documents->refreshTabPictures();
    m_documents->markCurrentModified();
}

void MainWindow::SaveSelection1Click()
{
    SaveDialog2.title = QStringLiteral("Save Selection");
    SaveDialog2.filter = SaveDialog1.filter;
    TextBox1.clear();
    TextBox1 = lineToAppend('\0', selectedBytes(Editor));
    const QString path = withDefaultExtension(Prompts::current().saveFile(SaveDialog2), SaveDialog2.defaultExt);
    if (path.isEmpty())
        return;
    writeTextFile(path, TextBox1, LineEnds::AsIs);
}

void MainWindow::AppendSelectiontoFile1Click()
{
    // The open dialog keeps whatever title it was last given.
    applyFilters();
    const QStringList files = Prompts::current().openFiles(OpenDialog1);
    if (files.isEmpty())
        return;
    const QString path = files.first();
    // A missing file fails here, so nothing is created.
    TextBox1 = readFileBytes(path);
    TextBox1 += lineToAppend(TextBox1.isEmpty() ? '\0' : TextBox1.back(), selectedBytes(Editor));
    // The whole text is rewritten safely rather than appended in place: a failed write must
    // not leave the old file cut short.
    writeTextFile(path, TextBox1, LineEnds::AsIs);
}
