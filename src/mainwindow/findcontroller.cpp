#include "mainwindow/findcontroller.h"

#include "commands/findreplace.h"
#include "core/commandguard.h"
#include "core/prompts.h"
#include "documents/documentset.h"
#include "editor/editorview.h"
#include "editor/editorviews.h"
#include "mainwindow/programwindows.h"
#include "windows/finddialogs.h"
#include "windows/gotolinedialog.h"

#include <QLineEdit>

namespace {
const QString FindTitle = QStringLiteral("Quillet -Find Text");
const QString NotFound = QStringLiteral("Search text not found!");
const QString ReplaceTitle = QStringLiteral("Quillet -Text Replacement");

QString replacedReport(qint64 count)
{
    return QStringLiteral("Search of text completed.\r\n%1 replacements made.").arg(count);
}
} // namespace

FindController::FindController(DocumentSet& documents, EditorViews& views, const ProgramWindows& windows,
                               QWidget& dialogParent)
    : m_documents(documents), m_views(views), m_windows(windows), m_dialogParent(dialogParent)
{}

EditorView& FindController::editor() const
{
    return *m_views.current();
}

FindDialog* FindController::findDialog()
{
    if (!m_findDialog) {
        m_findDialog = new FindDialog(&m_dialogParent);
        // The dialog's text is the window's stored search text.
        m_findDialog->setFindText(m_findText);
        QObject::connect(m_findDialog->findEdit(), &QLineEdit::textChanged, m_findDialog,
                         [this](const QString& text) { m_findText = text; });
        QObject::connect(m_findDialog, &FindDialog::find, m_findDialog,
                         [this] { runCommand([this] { findNextWith(*m_findDialog); }); });
    }
    return m_findDialog;
}

ReplaceDialog* FindController::replaceDialog()
{
    if (!m_replaceDialog) {
        m_replaceDialog = new ReplaceDialog(&m_dialogParent);
        QObject::connect(m_replaceDialog, &FindDialog::find, m_replaceDialog,
                         [this] { runCommand([this] { findNextWith(*m_replaceDialog); }); });
        QObject::connect(m_replaceDialog, &ReplaceDialog::replace, m_replaceDialog,
                         [this](bool all) { runCommand([this, all] { replaceFound(all); }); });
    }
    return m_replaceDialog;
}

void FindController::find()
{
    FindDialog* dialog = findDialog();
    dialog->setFindText(editor().selectedText()); // an empty selection empties the search text
    dialog->execute();
}

void FindController::replace()
{
    ReplaceDialog* dialog = replaceDialog();
    dialog->setFindText(editor().selectedText());
    dialog->execute();
}

void FindController::findNextWith(const FindDialog& dialog)
{
    if (!findreplace::findNext(editor(), dialog.findText().toUtf8(), dialog.options())) {
        Prompts::current().information(FindTitle, NotFound);
        return;
    }
    editor().setFocus();
}

void FindController::searchAgain()
{
    findNextWith(*findDialog());
}

void FindController::replaceFound(bool all)
{
    ReplaceDialog* dialog = replaceDialog();
    const QByteArray with = dialog->replaceText().toUtf8();
    if (!all) {
        // Only the editor's own changed flag records this change (picked up by the next key).
        if (findreplace::replaceSelection(editor(), with))
            editor().setFocus();
        return;
    }
    const qint64 count = findreplace::replaceAll(editor(), dialog->findText().toUtf8(), with, dialog->options());
    // Marking once stands for marking after each replacement: the mark is idempotent and
    // nothing is shown between two replacements.
    if (count > 0)
        m_documents.markCurrentModified();
    dialog->close();
    Prompts::current().information(ReplaceTitle, replacedReport(count));
    editor().setFocus();
}

void FindController::gotoLine()
{
    if (m_windows.gotoLine)
        m_windows.gotoLine->execute(editor());
}
