#pragma once
// The file commands: new, open (by dialog, by path, dropped, recent, from the command line),
// save, save as, save all with backups, refresh from disk, close, close all, and the save pass
// before the program ends. Every save goes through the safe writer of src/documents/filesave,
// which never leaves a half-written file; a backup is copied from the file just written.

#include "core/prompts.h"
#include "documents/diskwatch.h"
#include "documents/filesave.h"
#include "platform/textcodec.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class DateController;
class DocumentSet;
class EditorView;
class EditorViews;
class QWidget;
class RecentFilesMenu;
class StatusBar;
struct FileDialogs;
struct ProgramWindows;

// Both recent-file lists (the File menu's and the notification-area menu's) get every path.
struct RecentFiles
{
    RecentFilesMenu* fileMenu = nullptr;
    RecentFilesMenu* trayMenu = nullptr;
};

class FileController
{
public:
    FileController(DocumentSet& documents, EditorViews& views, StatusBar& statusBar, const ProgramWindows& windows,
                   FileDialogs& dialogs, RecentFiles recent, QByteArray& scratch, DateController& dates,
                   QWidget& window);

    void newDocument();
    void open();
    // Opens one file as a new, current document; an unreadable file still becomes a document
    // under its name (saving it creates it). A file that exists but could not be read is marked
    // not loaded: Save asks before replacing it, Save All and auto-save leave it alone. A
    // relative path is taken from the working folder and kept absolute.
    void openPath(const QString& typedPath);
    // A read failed while the shown document's file was still coming in.
    void loadInterrupted(const QString& reason);
    // `length` bytes were typed or pasted into `view` at `position`.
    void textInserted(const EditorView* view, qint64 position, qint64 length);
    void openDropped(const QString& path);
    void openRecent(const QString& path);
    void clearRecent();
    // Opens a file named on the command line; a failure beeps and leaves a document named as given.
    void openFromCommandLine(const QString& path);
    // Opens every file named, one per line, in `listFile`.
    void openListedFiles(const QString& listFile);
    // Opens every path in turn as openPath does, at the cost per file of a listed file.
    void openPaths(const QStringList& paths);
    void refreshFromDisk();
    // Reads the current document's file again in `encoding`, after a Yes when it was modified; a
    // file not valid in it is shown as raw bytes. Nothing for a document without a file.
    void reopenWithEncoding(platform::TextEncoding encoding);
    // Watches the current document's file for other programs' changes from now on (a document
    // whose text did not come from its file, such as a recovered one), taking `known` as the state
    // the program last read or wrote it in: a file that differs from it counts as changed on disk.
    void watchCurrentFile(const platform::FileState& known);
    // Called before a save writes a file in place (where a cut-off write would leave a mix of old
    // and new text), so that the text being saved is kept elsewhere first.
    void setBeforeWritingInPlace(std::function<void()> keep) { m_beforeWritingInPlace = std::move(keep); }
    // The window is shown again: a reload question that waited for it is asked now.
    void windowShown();
    // The program itself has just put content into the file at `path` (not a save of a document):
    // the documents of that file know it as it is now.
    void fileWrittenHere(const QString& path);

    void save();
    void saveAs();
    void saveAll();
    // Save All without the command's own checks (the auto-save timer); one pass at a time.
    void saveAllDocuments();

    void closeDocument();
    void closeAll();
    // Asks about every modified document before the program ends; false when the user cancelled.
    bool exitSavePass();

    void addRecent(const QString& path);
    // The last note the opening of files left on the status bar (why a file was not loaded or
    // not opened), once; empty when there was none since the last call.
    QString takeOpenNote();
    // Whether a backup copy is written after each save (the options window's box).
    bool makeBackups() const;

private:
    EditorView& editor() const;
    Answer ask(const QString& text);
    // Save and Save As; false when the user cancelled the dialog.
    bool saveCurrent();
    bool saveCurrentAs();
    // False (with a note on the status bar) unless the current document may be written over its
    // file: always, unless the file was not loaded; then only after typing and a Yes.
    bool mayReplaceNotLoadedFile();
    void failedSave();
    // The document at `index` holds what its file holds now (after a read or a write), each
    // CR LF of the file standing for `lineEnds` in its text (nothing: not the same text).
    void knowFileAsWritten(int index, std::optional<LineEnds> lineEnds);
    // Writes a document's text to `path` in `encoding`, as every save does; returns what each CR LF
    // written stands for in the text (for knowFileAsWritten).
    std::optional<LineEnds> writeDocument(const QString& path, QByteArrayView text, platform::TextEncoding encoding);
    // False (with a note) unless the current document's file is as the program last knew it, or
    // the user says Yes to replacing another program's change.
    bool mayReplaceChangedFile();
    // False (with a note) unless the current document may be saved as it is: characters outside
    // ASCII typed into a text of raw bytes would go into its file as UTF-8, so the user is asked.
    bool mayAddUtf8ToRawBytes();
    // Has every view tell the insertion it has not told yet (textInserted).
    void settleEdits();
    void fileChangedOnDisk(const QString& path, bool deleted);
    // Asks whether to reload the current document, if its file changed since it was last asked.
    void offerPendingReload();
    void showOpenNote(const QString& note);
    // Reads `path` into the shown view decoded from `requested`; returns the encoding it holds
    // (UTF-8 with `rawNote` set when the bytes are kept raw). `detected`: `requested` is what
    // detectFileEncoding found, so UTF-8 is known to be valid.
    platform::TextEncoding loadInEncoding(const QString& path, platform::TextEncoding requested, QString& rawNote,
                                          bool detected);
    void reloadInEncoding(platform::TextEncoding requested, bool detected);
    void addDeferredRecent();
    // Opens every path in turn with `openOne`, in time proportional to their number.
    void openEach(const QStringList& paths, void (FileController::*openOne)(const QString&));
    void createBackup(const QString& path);
    QString programDirectory() const;
    void recoverFailedOpen(const QString& argument, int countBefore);

    DocumentSet& m_documents;
    EditorViews& m_views;
    StatusBar& m_statusBar;
    const ProgramWindows& m_windows;
    FileDialogs& m_dialogs;
    RecentFiles m_recent;
    QByteArray& m_scratch;
    DateController& m_dates;
    QWidget& m_window;
    bool m_savingAll = false;
    DiskWatch m_disk;
    QSet<QString> m_reloadPending;
    bool m_offeringReload = false;
    QString m_openNote;
    std::function<void()> m_beforeWritingInPlace;
    // While a list of files opens, the paths for the recent lists wait here.
    bool m_deferringRecent = false;
    QStringList m_deferredRecent;
};
