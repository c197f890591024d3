// The main window's Find, Find-and-Replace, Search Again and Goto Line commands. The searching
// itself is in findreplace.cpp; these handlers connect the dialogs, the messages and the
// document's modified state.

#include "core/prompts.h"
#include "mainwindow/mainwindow.h"
#include "windows/finddialogs.h"
#include "commands/findreplace.h"
#include "windows/gotolinedialog.h"
#include "editor/editorview.h"

#include "core/commandguard.h"

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

FindDialog* MainWindow::findDialog1()
{
    if (!FindDialog1) {
        FindDialog1 = new FindDialog(this);
        // The dialog's text is the window's stored search text.
        FindDialog1->setFindText(m_findText);
        connect(FindDialog1->findEdit(), &QLineEdit::textChanged, this,
                [this](const QString& text) { m_findText = text; });
        connect(FindDialog1, &FindDialog::find, this, [this] { runCommand([this] { FindDialog1Find(); }); });
    }
    return FindDialog1;
}

ReplaceDialog* MainWindow::replaceDialog1()
{
    if (!ReplaceDialog1) {
        ReplaceDialog1 = new ReplaceDialog(this);
        connect(ReplaceDialog1, &FindDialog::find, this, [this] { runCommand([this] { ReplaceDialog1Find(); }); });
        connect(ReplaceDialog1, &ReplaceDialog::replace, this,
                [this](bool all) { runCommand([this, all] { ReplaceDialog1Replace(all); }); });
    }
    return ReplaceDialog1;
}

void MainWindow::FindBtn1Click()
{
    FindDialog* dialog = findDialog1();
    dialog->setFindText(Editor->selectedText()); // an empty selection empties the search text
    dialog->execute();
}

void MainWindow::ReplaceBtn1Click()
{
    ReplaceDialog* dialog = replaceDialog1();
    dialog->setFindText(Editor->selectedText());
    dialog->execute();
}

void MainWindow::findNextWith(const FindDialog& dialog)
{
    if (!findreplace::findNext(*Editor, dialog.findText().toUtf8(), dialog.options())) {
        Prompts::current().information(FindTitle, NotFound);
        return;
    }
    Editor->setFocus();
}

void MainWindow::FindDialog1Find()
{
    findNextWith(*findDialog1());
}

void MainWindow::ReplaceDialog1Find()
{
    findNextWith(*replaceDialog1());
}

void MainWindow::SearchAgain1Click()
{
    // Repeats the Find dialog's search, whether or not that dialog is open.
    findNextWith(*findDialog1());
}

void MainWindow::ReplaceDialog1Replace(bool all)
{
    ReplaceDialog* dialog = replaceDialog1();
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

void MainWindow::GotoBtn1Click()
{
    if (ScrollBox1)
        ScrollBox1->execute(*Editor);
}
