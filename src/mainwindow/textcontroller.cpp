#include "mainwindow/textcontroller.h"

#include "commands/transforms.h"
#include "core/prompts.h"
#include "documents/documentset.h"
#include "documents/filesave.h"
#include "documents/textlines.h"
#include "editor/editorview.h"
#include "editor/editorviews.h"
#include "mainwindow/commandregistry.h"
#include "mainwindow/filedialogs.h"
#include "mainwindow/programwindows.h"
#include "mainwindow/statusbar.h"
#include "platform/platform.h"
#include "windows/optionsdialog.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QProgressBar>

#include <algorithm>
#include <climits>

namespace {

// The OEM code page stands for the DOS character set; the ANSI one is the locale's, UTF-8.
const char* const OemCharset = "CP437";
const char* const AnsiCharset = "UTF-8";

// Small enough that the window answers several times a second, large enough to cost nothing.
constexpr qint64 WordCountSliceBytes = 1 << 20;

bool isLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

// The whole document with every logical line ended by exactly one `ends` terminator. The text
// is read from the buffer, never from the display, so word wrap cannot add a break; the writer
// converts every break, and only a last line without one needs a terminator added.
void exportDocument(const EditorView& editor, const FileDialogState& selectionDialog, const QString& title,
                    LineEnds ends)
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

    const QByteArrayView text = editor.textView();
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

QByteArray selectedBytes(const EditorView& editor)
{
    return editor.textView().sliced(editor.selStart(), editor.selLength()).toByteArray();
}

} // namespace

TextController::TextController(DocumentSet& documents, EditorViews& views, StatusBar& statusBar,
                               const ProgramWindows& windows, FileDialogs& dialogs, QByteArray& scratch,
                               CommandRegistry& commands)
    : m_documents(documents), m_views(views), m_statusBar(statusBar), m_windows(windows), m_dialogs(dialogs),
      m_scratch(scratch), m_commands(commands)
{}

EditorView& TextController::editor() const
{
    return *m_views.current();
}

// --- Transforms ----------------------------------------------------------------------------------

void TextController::transformSelection(const std::function<QByteArray(QByteArrayView)>& transform, bool markModified)
{
    const qint64 start = editor().selStart();
    const qint64 length = editor().selLength();
    if (length <= 0)
        return;
    const QByteArray result = transform(editor().textView().sliced(start, length));
    editor().replaceRange(start, start + length, result);
    if (markModified)
        m_documents.markCurrentModified();
}

void TextController::transformDocument(const std::function<QByteArray(QByteArrayView)>& transform)
{
    const QByteArray result = transform(editor().textView());
    if (result != editor().textView())
        editor().replaceRange(0, editor().textLength(), result);
    editor().setCaret(0);
}

void TextController::convertToUpperCase()
{
    transformSelection(transforms::upperCase, true);
}

void TextController::convertToLowerCase()
{
    transformSelection(transforms::lowerCase, true);
}

void TextController::reverseSelection()
{
    transformSelection(transforms::reverseCharacters, true);
}

void TextController::tabsToSpaces()
{
    // The tab width is read as the command runs.
    const int width = OptionsDialog::valuesOf(m_windows.options).tabWidth;
    transformSelection([width](QByteArrayView text) { return transforms::tabsToSpaces(text, width); }, false);
}

void TextController::oemToAnsi()
{
    transformDocument([](QByteArrayView text) { return platform::convertCharset(text, OemCharset, AnsiCharset); });
}

void TextController::ansiToOem()
{
    transformDocument([](QByteArrayView text) { return platform::convertCharset(text, AnsiCharset, OemCharset); });
}

void TextController::adjustLineBreaks()
{
    transformDocument([](QByteArrayView text) { return transforms::adjustLineBreaks(text); });
}

// --- Files ---------------------------------------------------------------------------------------

void TextController::exportUnix()
{
    exportDocument(editor(), m_dialogs.saveSelection, QStringLiteral("Export File to UNIX Format"), LineEnds::Lf);
}

void TextController::exportMac()
{
    exportDocument(editor(), m_dialogs.saveSelection, QStringLiteral("Export File to MAC Format"), LineEnds::Cr);
}

void TextController::insertFile()
{
    applyFilters(m_windows, m_dialogs);
    m_dialogs.open.title = QStringLiteral("Insert Text File");
    m_dialogs.open.defaultExt = QStringLiteral("txt");
    m_dialogs.open.fileName.clear();
    const QStringList files = Prompts::current().openFiles(m_dialogs.open);
    if (files.isEmpty())
        return;
    m_scratch.clear();
    // The file is read as it would open, into the document's UTF-8 text.
    FileText text = readFileText(files.first(), OptionsDialog::valuesOf(m_windows.options).legacyEncoding);
    m_scratch = std::move(text.utf8);
    if (!text.rawNote.isEmpty())
        m_statusBar.setMessage(text.rawNote);

    // One undoable replacement of the selection (an empty one at the caret), caret after it.
    EditorView& view = editor();
    const qint64 start = view.selStart();
    view.send(SCI_BEGINUNDOACTION);
    view.send(SCI_SETTARGETRANGE, static_cast<unsigned long>(start), static_cast<long>(start + view.selLength()));
    view.send(SCI_REPLACETARGET, static_cast<uintptr_t>(m_scratch.size()), m_scratch.constData());
    view.send(SCI_ENDUNDOACTION);
    view.setCaret(start + m_scratch.size());
    m_documents.markCurrentModified();
}

void TextController::saveSelection()
{
    m_dialogs.saveSelection.title = QStringLiteral("Save Selection");
    m_dialogs.saveSelection.filter = m_dialogs.save.filter;
    m_scratch.clear();
    m_scratch = lineToAppend('\0', selectedBytes(editor()));
    const QString path =
        withDefaultExtension(Prompts::current().saveFile(m_dialogs.saveSelection), m_dialogs.saveSelection.defaultExt);
    if (path.isEmpty())
        return;
    writeTextFile(path, m_scratch, LineEnds::AsIs);
}

void TextController::appendSelectionToFile()
{
    // The open dialog keeps whatever title it was last given.
    applyFilters(m_windows, m_dialogs);
    const QStringList files = Prompts::current().openFiles(m_dialogs.open);
    if (files.isEmpty())
        return;
    const QString path = files.first();
    // A missing file fails here, so nothing is created.
    m_scratch = readFileBytes(path);
    // A file read as a legacy code page or UTF-16 gets the line in its own encoding: appending
    // UTF-8 would leave it in two encodings at once.
    const platform::TextEncoding target =
        detectBytesEncoding(m_scratch, OptionsDialog::valuesOf(m_windows.options).legacyEncoding);
    if (target != platform::TextEncoding::Utf8) {
        FileText text = decodeFileText(std::move(m_scratch), target);
        m_scratch = std::move(text.utf8);
        if (text.encoding == target) {
            const QByteArray line =
                lineToAppend(m_scratch.isEmpty() ? '\0' : m_scratch.back(), selectedBytes(editor()));
            QByteArray encoded;
            qsizetype bad = 0;
            if (!platform::encodeText(line, target, encoded, &bad))
                throw CommandError(QStringLiteral("%1 cannot be appended to \"%2\", which is in %3.")
                                       .arg(platform::describeCharacterAt(line, bad), QFileInfo(path).fileName(),
                                            platform::encodingName(target)));
            m_scratch += line;
            writeEncodedTextFile(path, m_scratch, LineEnds::AsIs, target);
            return;
        }
    }
    m_scratch += lineToAppend(m_scratch.isEmpty() ? '\0' : m_scratch.back(), selectedBytes(editor()));
    // The whole text is rewritten safely rather than appended in place: a failed write must
    // not leave the old file cut short.
    writeTextFile(path, m_scratch, LineEnds::AsIs);
}

// --- Word count ----------------------------------------------------------------------------------

void TextController::wordCount()
{
    // The window may go while events are handled between slices; the status bar goes with it.
    QPointer<StatusBar> alive(&m_statusBar);
    QAction* item = m_commands.action(QStringLiteral("WordCount1"));
    item->setEnabled(false); // takes the shortcut with it

    // A copy, so switching documents or editing while the count runs changes nothing.
    const QByteArray text(editor().textView().data(), editor().textView().size());
    QProgressBar* bar = m_statusBar.progressBar();
    bar->setValue(0);

    qint64 count = 0;
    bool inWord = false;
    for (qint64 offset = 0; offset < text.size(); offset += WordCountSliceBytes) {
        bar->setMaximum(int(std::min<qint64>(text.size(), INT_MAX)));
        bar->setValue(int(offset));
        bar->show();
        QCoreApplication::processEvents();
        if (!alive)
            return;
        const qint64 length = std::min<qint64>(WordCountSliceBytes, text.size() - offset);
        count += transforms::countWords(QByteArrayView(text).sliced(offset, length), inWord);
    }

    bar->hide();
    m_statusBar.setMessage(QStringLiteral("Word Count completed."));
    Prompts::current().information(QStringLiteral("Quillet -Word Count"),
                                   QStringLiteral("This Document Contains %1 words.").arg(count));
    if (!alive)
        return;
    item->setEnabled(true);
    bar->setMaximum(100);
}
