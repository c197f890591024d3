// The everyday editing commands of the main window: undo, the clipboard, delete, clear, select
// all, copy all, the editor font, and the enabling of the commands that need a selection.

#include "app/commanderror.h"
#include "app/prompts.h"
#include "app/quilform1.h"
#include "documents/editorviews.h"
#include "documents/richexporter.h"

#include <QAction>
#include <QMenu>

namespace {
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

void TQuilForm1::UndoBtn1Click()
{
    // One level of undo: a second Undo in a row takes the first one back.
    if (m_undoToggled && Editor->isRedoAvailable()) {
        Editor->redo();
        m_undoToggled = false;
    } else {
        Editor->undo();
        m_undoToggled = true;
    }
    m_documents->markCurrentModified();
}

void TQuilForm1::CutBtn1Click()
{
    Editor->cut();
    m_documents->markCurrentModified();
}

void TQuilForm1::CopyBtn1Click()
{
    Editor->copy();
}

void TQuilForm1::PasteBtn1Click()
{
    Editor->paste();
    m_documents->markCurrentModified();
}

void TQuilForm1::Delete1Click()
{
    Editor->removeSelectedText();
    m_documents->markCurrentModified();
}

void TQuilForm1::ClearAll1Click()
{
    switch (ask(ClearQuestion)) {
    case Answer::Yes:
        Editor->SendScintilla(QsciScintillaBase::SCI_CLEARALL);
        m_documents->markCurrentModified();
        throw QuietEnd();
    case Answer::Cancel:
        throw QuietEnd();
    case Answer::No:
        break;
    }
}

void TQuilForm1::SelectAll1Click()
{
    Editor->selectAll(true);
}

void TQuilForm1::CopyAll1Click()
{
    Editor->selectAll(true);
    Editor->copy();
    Editor->setCaret(0);
}

void TQuilForm1::FontBtn1Click()
{
    EditorSettings settings = m_views->settings();
    if (const auto font = Prompts::current().chooseFont(settings.font)) {
        settings.font = *font;
        m_views->setSettings(settings);
    }
}

void TQuilForm1::EditorSelectionChange()
{
    const bool selected = Editor->selLength() > 0;
    for (const char* name : SelectionCommands) {
        const QString key = QLatin1String(name);
        QAction* action = m_actions.value(key);
        if (!action)
            continue;
        // A command that is not built yet stays disabled whatever the selection.
        action->setEnabled(selected && (action->menu() || isBound(key)));
    }
}
