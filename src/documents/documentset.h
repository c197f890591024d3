#pragma once
// The open documents, in tab order, and the register of every store file made during the run.
// It knows nothing of widgets: the editor, tab strip and indicators are reached through
// DocumentHost, which the main window implements and tests fake. Whatever the set changes it
// tells its host itself, so the tabs, hints and status panel never lag behind it.

#include "core/prompts.h"
#include "documents/document.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

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
    // While held, the tab strip only remembers the index it is given and shows it when released.
    virtual void holdTabIndex(bool hold) { Q_UNUSED(hold); }
    virtual void tabModifiedChanged(int index, bool modified) = 0;
    virtual void tabCaptionChanged(int index, const QString& caption) = 0;
    virtual void tabRemoved(int index) = 0;

    // Everything kept in step with the current document.
    virtual void statusModifiedChanged(bool modified) = 0;
    virtual void tabHintChanged(const QString& hint) = 0;
    virtual void editorHintChanged(const QString& hint) = 0;
    virtual void titleDocumentTextChanged(const QString& text) = 0;
    virtual void saveDialogFileNameChanged(const QString& name) = 0;
    virtual void documentListChanged(const QStringList& captions, int selected) = 0;
    // The current document, or its encoding, changed.
    virtual void currentEncodingChanged(const Document& document) { Q_UNUSED(document); }
};

using AskQuestion = std::function<Answer(const QString& text)>;

inline const QString CloseModifiedQuestion =
    QStringLiteral("This document has been modified, are you sure you want to delete it?");
inline const QString CloseAllQuestion = QStringLiteral("Are you sure you want to close all open Documents?");

// The answer Enter gives to one of the set's questions: a Yes that throws away a modified
// document's text is never the default.
inline Answer defaultAnswerTo(const QString& question)
{
    return question == CloseModifiedQuestion ? Answer::No : Answer::Yes;
}

class DocumentSet
{
public:
    explicit DocumentSet(DocumentHost& host) : m_host(host) {}

    int count() const { return static_cast<int>(m_documents.size()); }
    int currentIndex() const { return m_current; }
    const QList<Document>& documents() const { return m_documents; }
    const Document& at(int index) const { return m_documents.at(index); }
    const Document& current() const { return m_documents.at(m_current); }
    // Every store file made during the run, closed documents' included: all go at the end.
    const QStringList& storeFilesMade() const { return m_storeFilesMade; }

    bool isModified(int index) const { return index >= 0 && index < count() && m_documents[index].modified; }
    QString currentDisplayPath() const { return hasCurrent() ? current().displayPath() : QString(); }
    QString currentCaption() const { return hasCurrent() ? current().caption : QString(); }
    // Path, " - ", modified word of the current document.
    QString currentTabHint() const;
    // " - " and the current tab caption.
    QString titleDocumentText() const;

    // A document is added in two steps: its tab first, then (once its text is in the editor)
    // its store file, which makes it current.
    void beginDocument(const QString& caption, const QString& path);
    void completeDocument();
    // Whether the last document still waits for its store file.
    bool isAdding() const { return !m_documents.isEmpty() && m_documents.last().storeFile.isEmpty(); }

    void stashCurrentDocument();
    void showCurrentDocument();
    void refreshTabPictures();
    void markCurrentModified() { setCurrentModified(true); }
    void setCurrentModified(bool modified);
    // What another program did to a document's file (empty: nothing since the program last read
    // or wrote it); the tab hint shows it.
    void setDiskChange(int index, const QString& change);
    // A document written to its file (by Save All) holds what the file holds.
    void setModified(int index, bool modified);
    void setCurrentCaret(qint64 pos);
    void setCurrentCaption(const QString& caption);
    // The current document now belongs to `path` (after Save As): whatever was said of the
    // previous file's loading no longer applies.
    void setCurrentPath(const QString& path);
    // Records why the current document's file could not be read (empty: it now holds the file's
    // text, after a load or a confirmed save).
    void setCurrentNotLoaded(const QString& reason);
    // What Save encodes the current document in, and why its text is its file's bytes as they are
    // (empty: it is decoded, or valid UTF-8). Characters added since are forgotten.
    void setCurrentEncoding(platform::TextEncoding encoding, const QString& rawBytesNote = QString());
    // A character outside ASCII was typed or pasted into the document at `index`, or (false) the
    // file now holds what was added.
    void setNonAsciiAdded(int index, bool added) { m_documents[index].nonAsciiAdded = added; }
    // The document at `index` was just read from its file or written to it (its state now is
    // `state`; see Document::FileOrigin).
    void setFileOrigin(int index, const platform::FileState& state, std::optional<LineEnds> lineEnds);

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

    // Many documents opened at once: the tab strip shows only the last current one, at the end.
    void holdTabIndex(bool hold) { m_host.holdTabIndex(hold); }

    // Brings the host's document list (the document selector) in step.
    void refreshDocumentList(int selected);
    void refreshDocumentList() { refreshDocumentList(m_current); }
    void publishHints();
    // Brings the title's document text in step.
    void showTitle();

private:
    bool hasCurrent() const { return m_current >= 0 && m_current < count(); }
    void foldEditorChanges();
    QStringList captions() const;
    void removeDocument(int index);
    void resetToBlank();

    DocumentHost& m_host;
    QList<Document> m_documents;
    QStringList m_storeFilesMade;
    int m_current = -1;
    quint64 m_originGeneration = 0;
};
