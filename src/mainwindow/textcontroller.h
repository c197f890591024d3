#pragma once
// The commands that rewrite text or move it between the document and other files: selection and
// document transforms (each one undoable edit), export with UNIX or Macintosh line ends, insert a
// file, save or append the selection, and the word count. None of the file commands touches the
// document's own file, tab or saved state; every write goes through the safe writer.

#include <QByteArray>
#include <QByteArrayView>
#include <functional>

class CommandRegistry;
class DocumentSet;
class EditorView;
class EditorViews;
class StatusBar;
struct FileDialogs;
struct ProgramWindows;

class TextController
{
public:
    TextController(DocumentSet& documents, EditorViews& views, StatusBar& statusBar, const ProgramWindows& windows,
                   FileDialogs& dialogs, QByteArray& scratch, CommandRegistry& commands);

    void convertToUpperCase();
    void convertToLowerCase();
    void reverseSelection();
    void tabsToSpaces();
    void oemToAnsi();
    void ansiToOem();
    void adjustLineBreaks();

    void exportUnix();
    void exportMac();
    void insertFile();
    void saveSelection();
    void appendSelectionToFile();

    // Counts blank-separated words over a copy of the document in slices, with the progress bar
    // advancing and window events handled between slices.
    void wordCount();

private:
    EditorView& editor() const;
    // Writes back the selection (caret after it) or the whole text (caret at the start).
    void transformSelection(const std::function<QByteArray(QByteArrayView)>& transform, bool markModified);
    void transformDocument(const std::function<QByteArray(QByteArrayView)>& transform);

    DocumentSet& m_documents;
    EditorViews& m_views;
    StatusBar& m_statusBar;
    const ProgramWindows& m_windows;
    FileDialogs& m_dialogs;
    QByteArray& m_scratch;
    CommandRegistry& m_commands;
};
