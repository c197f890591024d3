// The everyday editing commands of the main window: undo, the clipboard, delete, clear, select
// all, copy all, the editor font, and the enabling of the commands that need a selection.

#include "core/commanderror.h"
#include "core/prompts.h"
#include "mainwindow/mainwindow.h"
#include "editor/editorviews.h"
#include "editor/editorview.h"

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

void MainWindow::UndoBtn1Click()
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

void MainWindow::CutBtn1Click()
{
    Editor->cut();
    m_documents->markCurrentModified();
}

void MainWindow::CopyBtn1Click()
{
    Editor->copy();
}

void MainWindow::PasteBtn1Click()
{
    Editor->paste();
    m_documents->markCurrentModified();
}

void MainWindow::Delete1Click()
{
    Editor->removeSelectedText();
    m_documents->markCurrentModified();
}

void MainWindow::ClearAll1Click()
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

void MainWindow::SelectAll1Click()
{
    Editor->selectAll(true);
}

void MainWindow::CopyAll1Click()
{
    Editor->selectAll(true);
    Editor->copy();
    Editor->setCaret(0);
}

void MainWindow::FontBtn1Click()
{
    EditorSettings settings = m_views->settings();
    if (const auto font = Prompts::current().chooseFont(settings.font)) {
        settings.font = *font;
        m_views->setSettings(settings);
    }
}

void MainWindow::EditorSelectionChange()
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
