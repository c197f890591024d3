// The main window's Find, Find-and-Replace, Search Again and Goto Line commands. The searching
// itself is in findreplace.cpp; these handlers connect the dialogs, the messages and the
// document's modified state.

#include "app/prompts.h"
#include "app/quilform1.h"
#include "commands/finddialogs.h"
#include "commands/findreplace.h"
#include "commands/scrollbox1.h"
#include "documents/richexporter.h"

#include "app/commandguard.h"

#include <QLineEdit>

namespace {
const QString FindTitle = QStringLiteral("Quillet -Find Text");
const QString NotFound = QStringLiteral("Search text not found!");
const QString ReplaceTitle = QStringLiteral("Quillet -Text Replacement");
// "Search of text completed.\r\n%d replacements made."
QString replacedReport(qint64 count)
{
    return QStringLiteral("Search of text completed.\r\n%1 replacements made.").arg(count);
}
} // namespace

TFindDialog* TQuilForm1::findDialog1()
{
    if (!FindDialog1) {
        FindDialog1 = new TFindDialog(this);
        // The dialog's text is the window's stored search text.
        FindDialog1->setFindText(m_findText);
        connect(FindDialog1->findEdit(), &QLineEdit::textChanged, this,
                [this](const QString& text) { m_findText = text; });
        connect(FindDialog1, &TFindDialog::find, this, [this] { runCommand([this] { FindDialog1Find(); }); });
    }
    return FindDialog1;
}

TReplaceDialog* TQuilForm1::replaceDialog1()
{
    if (!ReplaceDialog1) {
        ReplaceDialog1 = new TReplaceDialog(this);
        connect(ReplaceDialog1, &TFindDialog::find, this, [this] { runCommand([this] { ReplaceDialog1Find(); }); });
        connect(ReplaceDialog1, &TReplaceDialog::replace, this,
                [this](bool all) { runCommand([this, all] { ReplaceDialog1Replace(all); }); });
    }
    return ReplaceDialog1;
}

void TQuilForm1::FindBtn1Click()
{
    TFindDialog* dialog = findDialog1();
    dialog->setFindText(Editor->selectedText()); // an empty selection empties the search text
    dialog->execute();
}

void TQuilForm1::ReplaceBtn1Click()
{
    TReplaceDialog* dialog = replaceDialog1();
    dialog->setFindText(Editor->selectedText());
    dialog->execute();
}

void TQuilForm1::findNextWith(const TFindDialog& dialog)
{
    if (!findreplace::findNext(*Editor, dialog.findText().toUtf8(), dialog.options())) {
        Prompts::current().information(FindTitle, NotFound);
        return;
    }
    Editor->setFocus();
}

void TQuilForm1::FindDialog1Find()
{
    findNextWith(*findDialog1());
}

void TQuilForm1::ReplaceDialog1Find()
{
    findNextWith(*replaceDialog1());
}

void TQuilForm1::SearchAgain1Click()
{
    // Repeats the Find dialog's search, whether or not that dialog is open.
    findNextWith(*findDialog1());
}

void TQuilForm1::ReplaceDialog1Replace(bool all)
{
    TReplaceDialog* dialog = replaceDialog1();
    const QByteArray with = dialog->replaceText().toUtf8();
    if (!all) {
        // Only the editor's own changed flag records this change (picked up by the next key).
        if (findreplace::replaceSelection(*Editor, with))
            Editor->setFocus();
        return;
    }
    const qint64 count = findreplace::replaceAll(*Editor, dialog->findText().toUtf8(), with, dialog->options());
    // Marking once stands for marking after each replacement: the mark is idempotent and
    // nothing is shown between two replacements.
    if (count > 0)
        m_documents->markCurrentModified();
    dialog->close();
    Prompts::current().information(ReplaceTitle, replacedReport(count));
    Editor->setFocus();
}

void TQuilForm1::GotoBtn1Click()
{
    if (ScrollBox1)
        ScrollBox1->execute(*Editor);
}
