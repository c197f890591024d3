#include "mainwindow/editcontroller.h"

#include "core/commanderror.h"
#include "core/prompts.h"
#include "documents/documentset.h"
#include "editor/designedfonts.h"
#include "editor/editorview.h"
#include "editor/editorviews.h"
#include "mainwindow/commandregistry.h"

#include <QAction>
#include <QMenu>

namespace {
const QString ConfirmationTitle = QStringLiteral("Quillet -Confimation Required");
const QString ClearQuestion = QStringLiteral("Are you sure you want to clear the Document?");

// The commands that need a selection to act on.
const char* const SelectionCommands[] = {"Selection1",
                                         "Cut1",
                                         "Copy1",
                                         "Cut2",
                                         "Copy2",
                                         "CutBtn1",
                                         "CopyBtn1",
                                         "Delete1",
                                         "PrintSelection1",
                                         "SaveSelection2",
                                         "AppendSelectiontoFile1",
                                         "AddToClipBook1"};
} // namespace

EditController::EditController(DocumentSet& documents, EditorViews& views, CommandRegistry& commands)
    : m_documents(documents), m_views(views), m_commands(commands)
{}

EditorView& EditController::editor() const
{
    return *m_views.current();
}

void EditController::undo()
{
    if (m_undoToggled && editor().isRedoAvailable()) {
        editor().redo();
        m_undoToggled = false;
    } else {
        editor().undo();
        m_undoToggled = true;
    }
    m_documents.markCurrentModified();
}

void EditController::cut()
{
    editor().cut();
    m_documents.markCurrentModified();
}

void EditController::copy()
{
    editor().copy();
}

void EditController::paste()
{
    editor().paste();
    m_documents.markCurrentModified();
}

void EditController::deleteSelection()
{
    editor().removeSelectedText();
    m_documents.markCurrentModified();
}

void EditController::clearAll()
{
    switch (Prompts::current().question(ConfirmationTitle, ClearQuestion)) {
    case Answer::Yes:
        editor().send(SCI_CLEARALL);
        m_documents.markCurrentModified();
        throw QuietEnd();
    case Answer::Cancel:
        throw QuietEnd();
    case Answer::No:
        break;
    }
}

void EditController::selectAll()
{
    editor().selectAll();
}

void EditController::copyAll()
{
    editor().selectAll();
    editor().copy();
    editor().setCaret(0);
}

void EditController::chooseFont()
{
    if (const auto font = Prompts::current().chooseFont(fontInUse(m_views.settings().font)))
        m_views.setFont(*font);
}

void EditController::selectionChanged()
{
    const bool selected = editor().selLength() > 0;
    for (const char* name : SelectionCommands) {
        const QString key = QLatin1String(name);
        QAction* action = m_commands.action(key);
        if (!action)
            continue;
        // A command that is not built yet stays disabled whatever the selection.
        action->setEnabled(selected && (action->menu() || m_commands.isBound(key)));
    }
}
