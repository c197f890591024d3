// The selection and document transforms of the main window. Each reads the text as bytes,
// transforms it in memory and writes it back as one edit, which Undo can take back.

#include "mainwindow/mainwindow.h"
#include "commands/transforms.h"
#include "editor/editorview.h"
#include "platform/platform.h"
#include "windows/optionsdialog.h"

namespace {

// The OEM code page stands for the DOS character set; the ANSI one is the locale's, UTF-8.
const char* const OemCharset = "CP437";
const char* const AnsiCharset = "UTF-8";

} // namespace

void MainWindow::transformSelection(const std::function<QByteArray(QByteArrayView)>& transform, bool markModified)
{
    const qint64 start = Editor->selStart();
    const qint64 length = Editor->selLength();
    if (length <= 0)
        return;
    const QByteArray result = transform(Editor->textView().sliced(start, length));
    Editor->replaceRange(start, start + length, result);
    if (markModified)
        m_documents->markCurrentModified();
}

void MainWindow::transformDocument(const std::function<QByteArray(QByteArrayView)>& transform)
{
    const QByteArray result = transform(Editor->textView());
    if (result != Editor->textView())
        Editor->replaceRange(0, Editor->textLength(), result);
    Editor->setCaret(0);
}

void MainWindow::Con1Click()
{
    transformSelection(transforms::upperCase, true);
}

void MainWindow::ConverttoLowercase1Click()
{
    transformSelection(transforms::lowerCase, true);
}

void MainWindow::Reverse1Click()
{
    transformSelection(transforms::reverseCharacters, true);
}

void MainWindow::TabsSpaces1Click()
{
    // The tab width is read as the command runs.
    const int width = QuilletOp ? QuilletOp->tabWidth() : 0;
    transformSelection([width](QByteArrayView text) { return transforms::tabsToSpaces(text, width); }, false);
}

void MainWindow::OEMANSI1Click()
{
    transformDocument([](QByteArrayView text) { return platform::convertCharset(text, OemCharset, AnsiCharset); });
}

void MainWindow::ANSIOEM1Click()
{
    transformDocument([](QByteArrayView text) { return platform::convertCharset(text, AnsiCharset, OemCharset); });
}

void MainWindow::AdjustLineBreaks1Click()
{
    transformDocument([](QByteArrayView text) { return transforms::adjustLineBreaks(text); });
}
