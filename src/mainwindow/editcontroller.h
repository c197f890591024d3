#pragma once
// The everyday editing commands: undo (one level: a second Undo takes the first back), the
// clipboard, delete, clear all, select all, copy all, the editor font, and the enabling of the
// commands that need a selection.

class CommandRegistry;
class DocumentSet;
class EditorView;
class EditorViews;

class EditController
{
public:
    EditController(DocumentSet& documents, EditorViews& views, CommandRegistry& commands);

    void undo();
    void cut();
    void copy();
    void paste();
    void deleteSelection();
    void clearAll();
    void selectAll();
    void copyAll();
    void chooseFont();

    // The user changed the text: the next Undo undoes again instead of redoing.
    void userEdited() { m_undoToggled = false; }
    // Enables the commands that need a selection exactly when there is one.
    void selectionChanged();

private:
    EditorView& editor() const;

    DocumentSet& m_documents;
    EditorViews& m_views;
    CommandRegistry& m_commands;
    bool m_undoToggled = false;
};
