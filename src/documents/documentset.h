#pragma once
// The set of open documents: parallel lists indexed by tab position (captions, paths, store
// files, caret positions, modified entries) plus the register of every store file made during
// the run. It knows nothing of widgets: the editor, tab strip and indicators are reached through
// DocumentHost, which the main window implements and tests fake.

#include "core/prompts.h"

#include <QString>
#include <QStringList>
#include <functional>

inline const QString UntitledName = QStringLiteral("Untitled");
inline const QString ModifiedEntry = QStringLiteral("Modified");
inline const QString NotModifiedEntry = QStringLiteral("Not Modified");

class DocumentHost
{
public:
    virtual ~DocumentHost() = default;

    // A new empty store file in the temporary folder (throws CommandError on failure).
    virtual QString createStoreFile() = 0;

    // The editor.
    virtual qint64 editorSelStart() const = 0;
    // Write the editor's whole text into `storeFile`, then leave the editor empty.
    virtual void editorStash(const QString& storeFile) = 0;
    // Put the text stashed under `storeFile` back into the editor.
    virtual void editorShow(const QString& storeFile) = 0;
    virtual bool editorModifiedFlag() const = 0;
    virtual void editorClearModifiedFlag() = 0;
    virtual void editorSetCaret(qint64 pos) = 0;
    // Empty the editor (its text belongs to no document any more).
    virtual void editorClear() = 0;
    // A closed document's store file: its text is no longer needed (the file itself stays).
    virtual void storeFileDropped(const QString& storeFile) = 0;

    // The tab strip.
    virtual void tabAppended(const QString& caption) = 0;
    virtual void tabIndexChanged(int index) = 0;
    virtual void tabPictureChanged(int index, int picture) = 0;
    virtual void tabCaptionChanged(int index, const QString& caption) = 0;
    virtual void tabRemoved(int index) = 0;

    // Everything kept in step with the current document.
    virtual void statusModifiedChanged(bool modified) = 0;
    virtual void tabHintChanged(const QString& hint) = 0;
    virtual void editorHintChanged(const QString& hint) = 0;
    virtual void titleDocumentTextChanged(const QString& text) = 0;
    virtual void saveDialogFileNameChanged(const QString& name) = 0;
    virtual void documentListChanged(const QStringList& captions, int selected) = 0;
};

using AskQuestion = std::function<Answer(const QString& text)>;

inline const QString CloseModifiedQuestion =
    QStringLiteral("This document has been modified, are you sure you want to delete it?");
inline const QString CloseAllQuestion = QStringLiteral("Are you sure you want to close all open Documents?");

class DocumentSet
{
public:
    explicit DocumentSet(DocumentHost& host) : m_host(host) {}

    int count() const { return static_cast<int>(m_captions.size()); }
    int tabIndex() const { return m_tabIndex; }

    const QStringList& captions() const { return m_captions; }
    const QStringList& fileList() const { return m_fileList; }
    const QStringList& storeFiles() const { return m_storeFiles; }
    const QStringList& positions() const { return m_positions; }
    const QStringList& modifiedEntries() const { return m_modified; }
    const QStringList& tempRegister() const { return m_tempRegister; }

    bool isModified(int index) const { return m_modified.value(index) == ModifiedEntry; }
    QString currentFile() const { return m_fileList.value(m_tabIndex); }
    QString currentCaption() const { return m_captions.value(m_tabIndex); }
    // File-list entry, " - ", modified entry of the current document.
    QString currentTabHint() const;
    // " - " and the current tab caption.
    QString titleDocumentText() const;

    // Appends a tab caption and a file-list entry; AddDocumentSlot completes the document.
    void appendEntry(const QString& caption, const QString& path);
    void addDocumentSlot();
    void stashCurrentDocument();
    void showCurrentDocument();
    void refreshTabPictures();
    void markCurrentModified();
    void setCurrentModifiedEntry(const QString& entry);
    void setCurrentPosition(qint64 pos);
    void setCurrentCaption(const QString& caption);
    void setCurrentFile(const QString& path);

    // Commands.
    void newDocument();
    void nextDocument();
    void previousDocument();
    // A tab chosen on the tab strip (or in the document selector): stash, move, show.
    void switchTo(int index);
    // A key went down in the editor, before it acts.
    void editorKeyDown();
    // Close the current document; a modified one only after `ask` says Yes. Throws QuietEnd when
    // the command ends quietly (the callers skip their remaining steps).
    void closeDocument(const AskQuestion& ask);
    // Close every document after one question, leaving one empty "Untitled" document.
    void closeAll(const AskQuestion& ask);

    // Brings the host's document list (the document selector) in step.
    void refreshDocumentList(int selected);
    void refreshDocumentList() { refreshDocumentList(m_tabIndex); }

private:
    void publishHints();
    void removeEntry(int index);
    void resetToBlank();

    DocumentHost& m_host;
    QStringList m_captions;
    QStringList m_fileList;
    QStringList m_storeFiles;
    QStringList m_positions;
    QStringList m_modified;
    QStringList m_tempRegister;
    int m_tabIndex = -1;
};
