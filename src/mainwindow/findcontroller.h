#pragma once
// Find, Find and Replace, Search Again and Goto Line. The searching itself is in
// src/commands/findreplace; this connects the two modeless dialogs, the messages and the
// document's modified state. The search text is the window's stored "FindDialog1.FindText".

#include <QString>

class DocumentSet;
class EditorView;
class EditorViews;
class FindDialog;
class QWidget;
class ReplaceDialog;
struct ProgramWindows;

class FindController
{
public:
    FindController(DocumentSet& documents, EditorViews& views, const ProgramWindows& windows, QWidget& dialogParent);

    void find();
    void replace();
    // Repeats the Find dialog's search, whether or not that dialog is open.
    void searchAgain();
    void gotoLine();

    // The two modeless dialogs, made on first use and kept as long as the window.
    FindDialog* findDialog();
    ReplaceDialog* replaceDialog();

    QString findText() const { return m_findText; }
    void setFindText(const QString& text) { m_findText = text; }

private:
    EditorView& editor() const;
    void findNextWith(const FindDialog& dialog);
    void replaceFound(bool all);

    DocumentSet& m_documents;
    EditorViews& m_views;
    const ProgramWindows& m_windows;
    QWidget& m_dialogParent;
    FindDialog* m_findDialog = nullptr;
    ReplaceDialog* m_replaceDialog = nullptr;
    QString m_findText;
};
