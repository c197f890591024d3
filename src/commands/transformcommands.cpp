// The selection and document transforms of the main window. Each reads the text as bytes,
// transforms it in memory and writes it back as one edit, which Undo can take back.

#include "app/quilform1.h"
#include "commands/transforms.h"
#include "documents/richexporter.h"
#include "platform/platform.h"
#include "settings/quilletop.h"

namespace {

// The OEM code page stands for the DOS character set; the ANSI one is the locale's, UTF-8.
const char* const OemCharset = "CP437";
const char* const AnsiCharset = "UTF-8";

} // namespace

void TQuilForm1::transformSelection(const std::function<QByteArray(QByteArrayView)>& transform, bool markModified)
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

void TQuilForm1::transformDocument(const std::function<QByteArray(QByteArrayView)>& transform)
{
    const QByteArray result = transform(Editor->textView());
    if (result != Editor->textView())
        Editor->replaceRange(0, Editor->textLength(), result);
    Editor->setCaret(0);
}

void TQuilForm1::Con1Click()
{
    transformSelection(transforms::upperCase, true);
}

void TQuilForm1::ConverttoLowercase1Click()
{
    transformSelection(transforms::lowerCase, true);
}

void TQuilForm1::Reverse1Click()
{
    transformSelection(transforms::reverseCharacters, true);
}

void TQuilForm1::TabsSpaces1Click()
{
    // The tab width is read as the command runs.
    const int width = QuilletOp ? QuilletOp->tabWidth() : 0;
    transformSelection([width](QByteArrayView text) { return transforms::tabsToSpaces(text, width); }, false);
}

void TQuilForm1::OEMANSI1Click()
{
    transformDocument([](QByteArrayView text) { return platform::convertCharset(text, OemCharset, AnsiCharset); });
}

void TQuilForm1::ANSIOEM1Click()
{
    transformDocument([](QByteArrayView text) { return platform::convertCharset(text, AnsiCharset, OemCharset); });
}

void TQuilForm1::AdjustLineBreaks1Click()
{
    transformDocument([](QByteArrayView text) { return transforms::adjustLineBreaks(text); });
}
