#include "mainwindow/filecontroller.h"

#include "core/commanderror.h"
#include "core/commandguard.h"
#include "core/prompts.h"
#include "documents/documentset.h"
#include "documents/filesave.h"
#include "documents/textlines.h"
#include "editor/editorview.h"
#include "editor/editorviews.h"
#include "mainwindow/datecontroller.h"
#include "mainwindow/filedialogs.h"
#include "mainwindow/programwindows.h"
#include "mainwindow/statusbar.h"
#include "platform/platform.h"
#include "settings/recentfilesmenu.h"
#include "settings/recentlist.h"
#include "windows/configurationdialog.h"
#include "windows/optionsdialog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace {
// What Save As offers: every encoding the program writes.
QList<platform::TextEncoding> savableEncodings()
{
    QList<platform::TextEncoding> encodings{platform::TextEncoding::Utf8};
    encodings += platform::legacyEncodings();
    encodings += {platform::TextEncoding::Utf16Le, platform::TextEncoding::Utf16Be};
    return encodings;
}

const QString ConfirmationTitle = QStringLiteral("Quillet -Confimation Required");
const QString ExitQuestion = QStringLiteral("This Document has been modified, do you want to save it?");
const QString Done = QStringLiteral("Done!");

// The system's reason in a file error: its last line.
QString reasonOf(const CommandError& error)
{
    return error.message().section(QLatin1Char('\n'), -1).trimmed();
}

// A relative name means the working folder of the moment it was given; kept as typed it would
// name another file once that folder changes. Symbolic links stay as named.
QString absolutePathOf(const QString& path)
{
    return path.isEmpty() ? path : QDir::cleanPath(QDir::current().absoluteFilePath(path));
}
} // namespace

FileController::FileController(DocumentSet& documents, EditorViews& views, StatusBar& statusBar,
                               const ProgramWindows& windows, FileDialogs& dialogs, RecentFiles recent,
                               QByteArray& scratch, DateController& dates, QWidget& window)
    : m_documents(documents), m_views(views), m_statusBar(statusBar), m_windows(windows), m_dialogs(dialogs),
      m_recent(recent), m_scratch(scratch), m_dates(dates), m_window(window)
{
    QObject::connect(&m_disk, &DiskWatch::changed, &m_disk,
                     [this](const QString& path, bool deleted) { fileChangedOnDisk(path, deleted); });
    // A document whose file changed while another was shown is asked about when it is shown.
    QObject::connect(&m_views, &EditorViews::currentChanged, &m_disk,
                     [this] { QTimer::singleShot(0, &m_disk, [this] { offerPendingReload(); }); });
}

EditorView& FileController::editor() const
{
    return *m_views.current();
}

Answer FileController::ask(const QString& text)
{
    return Prompts::current().question(ConfirmationTitle, text, defaultAnswerTo(text));
}

bool FileController::makeBackups() const
{
    return OptionsDialog::valuesOf(m_windows.options).makeBackups;
}

QString FileController::programDirectory() const
{
    const QString dir = m_windows.configuration ? m_windows.configuration->programDirectory() : QString();
    return dir.isEmpty() ? platform::programDirectory() : dir;
}

// --- Open ----------------------------------------------------------------------------------------

void FileController::newDocument()
{
    m_documents.newDocument();
}

void FileController::open()
{
    applyFilters(m_windows, m_dialogs);
    m_dialogs.open.title = QStringLiteral("Open Text File");
    const QStringList files = Prompts::current().openFiles(m_dialogs.open);
    if (files.isEmpty())
        return;
    openEach(files, &FileController::openPath);
    m_documents.refreshDocumentList();
}

void FileController::openEach(const QStringList& paths, void (FileController::*openOne)(const QString&))
{
    // Work per file that grows with the files already open would make a long list cost the
    // square of its length: the documents opened here keep no view of their own (their text is
    // read back from the store file when shown; the document current before keeps its view),
    // and the tab strip's choice and the recent lists are brought up to date once, at the end.
    const bool keeping = m_views.keepingViews();
    m_deferringRecent = true;
    m_documents.holdTabIndex(true);
    const auto restore = qScopeGuard([this, keeping] {
        m_documents.holdTabIndex(false);
        m_views.setKeepingViews(keeping);
        addDeferredRecent();
    });
    for (int i = 0; i < paths.size(); ++i) {
        if (i == 1)
            m_views.setKeepingViews(false);
        if (paths.size() > 1)
            m_statusBar.setMessage(QStringLiteral("Opening %1 of %2").arg(i + 1).arg(paths.size()));
        (this->*openOne)(paths[i]);
    }
    // The last note of a refused or unread file stays; otherwise the progress goes.
    if (paths.size() > 1 && m_statusBar.panelText(StatusBar::Message).startsWith(QStringLiteral("Opening ")))
        m_statusBar.setMessage(QString());
}

void FileController::openPath(const QString& typedPath)
{
    const QString path = absolutePathOf(typedPath);
    // What cannot be a document is refused before anything changes: no tab, no recent entry.
    if (const OpenRefusal refusal = checkOpenable(path)) {
        showOpenNote(refusal.note);
        Prompts::current().error(refusal.message);
        return;
    }
    m_documents.stashCurrentDocument();
    m_documents.beginDocument(QFileInfo(path).fileName(), path);
    QString notLoadedReason;
    QString rawNote;
    platform::TextEncoding encoding = platform::TextEncoding::Utf8;
    try {
        encoding = loadInEncoding(
            path, detectFileEncoding(path, OptionsDialog::valuesOf(m_windows.options).legacyEncoding), rawNote, true);
    } catch (const CommandError& error) {
        // An unreadable file still becomes a document under its name; saving a missing one
        // creates it. One that exists is remembered as not loaded, so its empty text never
        // replaces it unasked.
        if (QFileInfo::exists(path))
            notLoadedReason = reasonOf(error);
        platform::beep();
    }
    editor().clearModifiedFlag();
    const platform::FileState state = m_disk.remember(path);
    m_documents.completeDocument();
    m_documents.setFileOrigin(m_documents.currentIndex(), state, LineEnds::AsIs);
    m_documents.setCurrentNotLoaded(notLoadedReason);
    m_documents.setCurrentEncoding(encoding, rawNote);
    m_documents.setCurrentModified(false);
    m_documents.refreshTabPictures();
    m_dialogs.save.fileName = path;
    addRecent(path);
    m_dates.logStampCheck();
    m_documents.publishHints();
    m_documents.showTitle();
    if (!notLoadedReason.isEmpty())
        showOpenNote(QStringLiteral("File not loaded: %1. Saving asks before replacing \"%2\".")
                         .arg(notLoadedReason, QFileInfo(path).fileName()));
    else if (!rawNote.isEmpty())
        showOpenNote(rawNote);
    // No events are run here: the editor lays out and wraps the text when it is shown at its
    // size; run now, it would do so at a hidden window's size first (seconds for a long line).
    editor().setFocus();
}

platform::TextEncoding FileController::loadInEncoding(const QString& path, platform::TextEncoding requested,
                                                      QString& rawNote, bool detected)
{
    // UTF-8 streams straight from the file; anything else is checked whole first, then decoded in
    // the slices it loads in.
    if (requested != platform::TextEncoding::Utf8) {
        if (const std::optional<qint64> length = decodedFileLength(path, requested)) {
            m_views.loadDecoded(path, requested, *length);
            return requested;
        }
        rawNote = rawBytesNote(requested);
    } else if (!detected && !isUtf8File(path)) {
        rawNote = rawBytesNote(requested);
    }
    m_views.loadFile(path);
    return platform::TextEncoding::Utf8;
}

void FileController::showOpenNote(const QString& note)
{
    m_statusBar.setMessage(note);
    m_openNote = note;
}

QString FileController::takeOpenNote()
{
    return std::exchange(m_openNote, QString());
}

void FileController::openDropped(const QString& path)
{
    m_views.setAcceptFileDrops(true);
    openPath(path);
    m_documents.refreshDocumentList();
}

void FileController::openRecent(const QString& path)
{
    openPath(path);
    m_documents.refreshDocumentList();
}

void FileController::clearRecent()
{
    m_recent.fileMenu->clear();
    m_recent.trayMenu->clear();
}

void FileController::addRecent(const QString& path)
{
    if (m_deferringRecent) {
        m_deferredRecent.append(path);
        return;
    }
    m_recent.fileMenu->add(path);
    m_recent.trayMenu->add(path);
}

void FileController::addDeferredRecent()
{
    // Adding a path moves it to the top and pushes the oldest out, so only the last occurrence
    // of each of the newest paths, as many as a list holds, changes the outcome; added in their
    // order, they leave both lists exactly as adding every path would.
    const int room = std::max(m_recent.fileMenu->capacity(), m_recent.trayMenu->capacity());
    QStringList newest;
    for (auto path = m_deferredRecent.crbegin(); path != m_deferredRecent.crend() && newest.size() < room; ++path) {
        const bool seen = std::any_of(newest.cbegin(), newest.cend(),
                                      [&](const QString& kept) { return RecentList::sameName(kept, *path); });
        if (!seen)
            newest.append(*path);
    }
    m_deferredRecent.clear();
    m_deferringRecent = false;
    for (auto path = newest.crbegin(); path != newest.crend(); ++path)
        addRecent(*path);
}

void FileController::openFromCommandLine(const QString& path)
{
    const int countBefore = m_documents.count();
    try {
        openPath(path);
    } catch (...) {
        recoverFailedOpen(path, countBefore);
    }
}

void FileController::recoverFailedOpen(const QString& argument, int countBefore)
{
    // A failure before the new tab was added (the stash of the current document) leaves the
    // current document as it was; one after it names the new tab after the argument.
    const bool added = m_documents.count() > countBefore;
    if (added && m_documents.isAdding())
        runCommand([this] { m_documents.completeDocument(); });
    m_documents.setCurrentModified(false);
    m_documents.refreshTabPictures();
    if (added)
        m_dates.logStampCheck();
    platform::beep();
    if (added)
        m_documents.setCurrentCaption(argument);
}

void FileController::openListedFiles(const QString& listFile)
{
    m_scratch = readFileBytes(listFile);
    const auto clear = qScopeGuard([this] { m_scratch.clear(); });
    QStringList paths;
    for (const QByteArray& line : splitLines(m_scratch))
        paths.append(QFile::decodeName(line));
    openEach(paths, &FileController::openFromCommandLine);
}

void FileController::openPaths(const QStringList& paths)
{
    openEach(paths, &FileController::openPath);
    m_documents.refreshDocumentList();
}

void FileController::refreshFromDisk()
{
    const Document& document = m_documents.current();
    if (!document.hasFile())
        return;
    // A document read in an encoding stays in it; one held as UTF-8 is read as a file opened anew.
    const platform::TextEncoding requested =
        document.encoding != platform::TextEncoding::Utf8
            ? document.encoding
            : detectFileEncoding(document.path, OptionsDialog::valuesOf(m_windows.options).legacyEncoding);
    reloadInEncoding(requested, document.encoding == platform::TextEncoding::Utf8);
}

void FileController::reloadInEncoding(platform::TextEncoding requested, bool detected)
{
    QString rawNote;
    const platform::TextEncoding encoding = loadInEncoding(m_documents.current().path, requested, rawNote, detected);
    editor().clearModifiedFlag();
    knowFileAsWritten(m_documents.currentIndex(), LineEnds::AsIs);
    m_documents.setCurrentNotLoaded(QString());
    m_documents.setCurrentEncoding(encoding, rawNote);
    if (!rawNote.isEmpty())
        m_statusBar.setMessage(rawNote);
}

void FileController::reopenWithEncoding(platform::TextEncoding encoding)
{
    const Document& document = m_documents.current();
    if (!document.hasFile())
        return;
    const bool modified = m_documents.isModified(m_documents.currentIndex()) || editor().modifiedFlag();
    if (modified) {
        const QString question = QStringLiteral("The document \"%1\" has been modified.\n\nReopen it as %2? Yes "
                                                "replaces the text in the editor with the file's; No keeps the text "
                                                "in the editor.")
                                     .arg(QDir::toNativeSeparators(document.path), platform::encodingName(encoding));
        if (Prompts::current().question(ConfirmationTitle, question, Answer::No) != Answer::Yes)
            return;
    }
    reloadInEncoding(encoding, false);
    m_documents.setCurrentModified(false);
    m_documents.refreshTabPictures();
}

// --- Save ----------------------------------------------------------------------------------------

void FileController::save()
{
    saveCurrent();
}

void FileController::saveAs()
{
    saveCurrentAs();
}

bool FileController::saveCurrent()
{
    if (!m_documents.current().hasFile()) {
        const bool saved = saveCurrentAs();
        m_documents.refreshTabPictures();
        return saved;
    }
    if (!mayReplaceNotLoadedFile() || !mayReplaceChangedFile() || !mayAddUtf8ToRawBytes())
        return false;
    const QString path = m_documents.current().path;
    m_statusBar.showProgress();
    m_statusBar.setPanelText(StatusBar::ModifiedState, QString());
    m_statusBar.setMessage(QString());
    std::optional<LineEnds> lineEnds;
    {
        auto failed = qScopeGuard([this] { failedSave(); });
        m_statusBar.progressStep(0);
        lineEnds = writeDocument(path, editor().textView(), m_documents.current().encoding);
        failed.dismiss();
    }
    knowFileAsWritten(m_documents.currentIndex(), lineEnds);
    m_documents.setCurrentNotLoaded(QString());
    m_statusBar.progressStep(10);
    m_documents.setCurrentCaption(QFileInfo(path).fileName());
    m_statusBar.progressStep(20);
    m_statusBar.progressStep(30);
    m_documents.setCurrentModified(false);
    editor().clearModifiedFlag();
    for (int step = 40; step <= 70; step += 10)
        m_statusBar.progressStep(step);
    addRecent(path);
    m_statusBar.progressStep(80);
    m_statusBar.progressStep(90);
    {
        // A failed backup leaves the saved file saved; only the progress goes.
        auto hide = qScopeGuard([this] { m_statusBar.hideProgress(); });
        createBackup(path);
        hide.dismiss();
    }
    m_statusBar.progressStep(100);
    m_statusBar.hideProgress();
    m_statusBar.setMessage(Done);
    return true;
}

bool FileController::saveCurrentAs()
{
    applyFilters(m_windows, m_dialogs);
    m_dialogs.save.title = QStringLiteral("Save Text");
    m_dialogs.save.fileName = m_documents.currentCaption();
    // The dialog offers the encoding to save in, the document's own first.
    for (const platform::TextEncoding encoding : savableEncodings())
        m_dialogs.save.encodings.append(platform::encodingName(encoding));
    m_dialogs.save.encoding = platform::encodingName(m_documents.current().encoding);
    const auto offered = qScopeGuard([this] { m_dialogs.save.encodings.clear(); });
    const QString path =
        absolutePathOf(withDefaultExtension(Prompts::current().saveFile(m_dialogs.save), m_dialogs.save.defaultExt));
    const platform::TextEncoding encoding =
        platform::encodingNamed(m_dialogs.save.encoding).value_or(m_documents.current().encoding);
    if (path.isEmpty() || (encoding == platform::TextEncoding::Utf8 && !mayAddUtf8ToRawBytes())) {
        m_documents.refreshTabPictures();
        return false;
    }
    m_statusBar.progressBar()->setValue(0);
    m_statusBar.setMessage(QString());
    m_statusBar.showProgress();
    std::optional<LineEnds> lineEnds;
    {
        auto failed = qScopeGuard([this] { failedSave(); });
        m_statusBar.progressStep(10);
        lineEnds = writeDocument(path, editor().textView(), encoding);
        failed.dismiss();
    }
    // Saved as UTF-8, raw bytes stay what they were; in another encoding the text encoded exactly.
    m_documents.setCurrentEncoding(
        encoding, encoding == platform::TextEncoding::Utf8 ? m_documents.current().rawBytesNote : QString());
    m_statusBar.setPanelText(StatusBar::ModifiedState, QString());
    for (int step = 20; step <= 40; step += 10)
        m_statusBar.progressStep(step);
    m_documents.setCurrentPath(path);
    knowFileAsWritten(m_documents.currentIndex(), lineEnds);
    m_statusBar.progressStep(50);
    m_documents.setCurrentCaption(QFileInfo(path).fileName());
    m_statusBar.progressStep(60);
    m_statusBar.progressStep(70);
    m_documents.setCurrentModified(false);
    editor().clearModifiedFlag();
    m_statusBar.progressStep(80);
    m_statusBar.progressStep(90);
    addRecent(path);
    m_statusBar.setMessage(QString());
    m_statusBar.progressStep(100);
    m_statusBar.hideProgress();
    createBackup(path);
    m_statusBar.setMessage(Done);
    m_documents.publishHints();
    m_documents.showTitle();
    return true;
}

void FileController::loadInterrupted(const QString& reason)
{
    // The document holds only what was read before the failure: as a file not loaded, it never
    // replaces the file unasked.
    const QString path = m_documents.current().path;
    m_documents.setCurrentNotLoaded(reason);
    m_documents.refreshTabPictures();
    platform::beep();
    showOpenNote(QStringLiteral("File not loaded: %1. Saving asks before replacing \"%2\".")
                     .arg(reason, QFileInfo(path).fileName()));
}

bool FileController::mayReplaceNotLoadedFile()
{
    // A load still coming in is completed first: a read that fails now counts as well.
    editor().finishLoading();
    // The document holds none of its file's text: the file is replaced only with text the user
    // typed, and only once the user has said so.
    const Document& document = m_documents.current();
    if (!document.notLoaded())
        return true;
    const QString name = QFileInfo(document.path).fileName();
    if (!m_documents.isModified(m_documents.currentIndex()) && !editor().modifiedFlag()) {
        m_statusBar.setMessage(
            QStringLiteral("Not saved: \"%1\" was not loaded, and this document is empty.").arg(name));
        return false;
    }
    const QString question = QStringLiteral("The file \"%1\" was not loaded when it was opened (%2).\n\n"
                                            "Saving replaces its whole content with the text of this document. "
                                            "Replace it?")
                                 .arg(QDir::toNativeSeparators(document.path), document.notLoadedReason);
    if (Prompts::current().question(ConfirmationTitle, question, Answer::No) == Answer::Yes)
        return true;
    m_statusBar.setMessage(QStringLiteral("Not saved: \"%1\" was kept as it is.").arg(name));
    return false;
}

void FileController::failedSave()
{
    // The text on disk is not the document's: it must be asked about before anything discards it.
    m_statusBar.hideProgress();
    m_documents.markCurrentModified();
}

void FileController::createBackup(const QString& path)
{
    // The file just written holds exactly the backup's bytes: copying it is cheaper than writing
    // the text out again.
    const QString dir = programDirectory();
    createBackupFolder(dir);
    if (!makeBackups())
        return;
    m_statusBar.setMessage(QStringLiteral("Creating Backups.. Done!"));
    copyFileSafely(path, backupFileName(dir, path));
}

void FileController::saveAll()
{
    saveAllDocuments();
}

void FileController::saveAllDocuments()
{
    // Auto-save may fire while a Save All runs (it lets events through); one pass is enough.
    if (m_savingAll)
        return;
    m_savingAll = true;
    const auto done = qScopeGuard([this] {
        m_savingAll = false;
        m_scratch.clear();
        m_statusBar.setPanelText(StatusBar::ModifiedState,
                                 m_documents.isModified(m_documents.currentIndex()) ? ModifiedWord : QString());
    });

    m_statusBar.setMessage(QStringLiteral("Saving All Files."));
    if (StatusBar::StepPauseMs > 0)
        QThread::msleep(static_cast<unsigned long>(StatusBar::StepPauseMs));
    QStringList notLoaded;
    QStringList changedOnDisk;
    QStringList unencodable;
    QStringList mixed;
    settleEdits();
    for (int i = 0; i < m_documents.count(); ++i) {
        const Document& document = m_documents.at(i);
        if (!document.hasFile())
            continue;
        // Nobody asked about replacing a file that was never loaded: Save (with a confirmation)
        // is the only way to write one.
        if (document.notLoaded()) {
            notLoaded.append(QFileInfo(document.path).fileName());
            continue;
        }
        // Nor is another program's change to a file replaced without a question: only Save asks.
        if (m_disk.changedOnDisk(document.path)) {
            changedOnDisk.append(QFileInfo(document.path).fileName());
            continue;
        }
        // Nor is UTF-8 put among raw bytes unasked.
        if (document.nonAsciiAdded) {
            mixed.append(QFileInfo(document.path).fileName());
            continue;
        }
        const QString path = document.path;
        QByteArrayView text;
        if (i == m_documents.currentIndex()) {
            text = editor().textView();
        } else {
            m_scratch = readFileBytes(document.storeFile);
            text = m_scratch;
        }
        m_statusBar.showProgress();
        m_statusBar.setPanelText(StatusBar::ModifiedState, QString());
        m_statusBar.setMessage(QString());
        {
            auto hide = qScopeGuard([this] { m_statusBar.hideProgress(); });
            m_statusBar.progressStep(0);
            std::optional<LineEnds> lineEnds;
            try {
                lineEnds = writeDocument(path, text, document.encoding);
            } catch (const UnencodableText&) {
                // Said on the status bar, not in a box: this may run on the auto-save timer.
                unencodable.append(QFileInfo(path).fileName());
                continue;
            }
            knowFileAsWritten(i, lineEnds);
            // The file now holds the document's text, as after Save; a failed write left it
            // "Modified".
            m_documents.setModified(i, false);
            if (i == m_documents.currentIndex())
                editor().clearModifiedFlag();
            for (int step = 10; step <= 90; step += 10)
                m_statusBar.progressStep(step);
            m_documents.refreshTabPictures();
            createBackup(path);
            hide.dismiss();
        }
        m_statusBar.progressStep(100);
        m_statusBar.hideProgress();
        m_statusBar.setMessage(Done);
        QCoreApplication::processEvents();
    }
    if (!notLoaded.isEmpty())
        m_statusBar.setMessage(QStringLiteral("Not saved, because they were not loaded: %1. Save each to replace it.")
                                   .arg(notLoaded.join(QStringLiteral(", "))));
    if (!changedOnDisk.isEmpty())
        m_statusBar.setMessage(
            QStringLiteral("Not saved, because another program changed them: %1. Save each to replace it.")
                .arg(changedOnDisk.join(QStringLiteral(", "))));
    if (!unencodable.isEmpty())
        m_statusBar.setMessage(QStringLiteral("Not saved, because their encoding cannot hold some of their characters: "
                                              "%1. Save each to see which.")
                                   .arg(unencodable.join(QStringLiteral(", "))));
    if (!mixed.isEmpty())
        m_statusBar.setMessage(QStringLiteral("Not saved, because characters typed into their raw bytes would be "
                                              "saved as UTF-8: %1. Save each to decide.")
                                   .arg(mixed.join(QStringLiteral(", "))));
    m_documents.refreshTabPictures();
}

// --- Files changed by other programs ---------------------------------------------------------------

void FileController::fileWrittenHere(const QString& path)
{
    for (int i = 0; i < m_documents.count(); ++i)
        if (platform::sameFileName(m_documents.at(i).path, path))
            knowFileAsWritten(i, std::nullopt);
}

void FileController::watchCurrentFile(const platform::FileState& known)
{
    const QString path = m_documents.current().path;
    if (path.isEmpty())
        return;
    if (known.exists)
        m_disk.rememberAs(path, known);
    else
        m_disk.remember(path);
}

void FileController::knowFileAsWritten(int index, std::optional<LineEnds> lineEnds)
{
    const platform::FileState state = m_disk.remember(m_documents.at(index).path);
    m_documents.setFileOrigin(index, state, lineEnds);
    m_documents.setDiskChange(index, QString());
    // What was typed is in the file now (or the text was read again).
    m_documents.setNonAsciiAdded(index, false);
    m_reloadPending.remove(m_documents.at(index).path);
}

std::optional<LineEnds> FileController::writeDocument(const QString& path, QByteArrayView text,
                                                      platform::TextEncoding encoding)
{
    // A write in place that is cut off leaves part of the new text over the old: the text being
    // saved is kept elsewhere first.
    if (m_beforeWritingInPlace && writesInPlace(path))
        m_beforeWritingInPlace();
    LineBreaks breaks;
    writeEncodedTextFile(path, text, LineEnds::Crlf, encoding, &breaks);
    return breaks.restoredAs();
}

void FileController::windowShown()
{
    QTimer::singleShot(0, &m_disk, [this] { offerPendingReload(); });
}

void FileController::textInserted(const EditorView* view, qint64 position, qint64 length)
{
    // Told of the shown view, or of a document's kept view once it is told later.
    int index = m_documents.currentIndex();
    if (view != m_views.current()) {
        index = -1;
        for (int i = 0; i < m_documents.count() && index < 0; ++i)
            if (m_views.keptView(m_documents.at(i).storeFile) == view)
                index = i;
    }
    if (index < 0 || m_documents.at(index).rawBytesNote.isEmpty() || m_documents.at(index).nonAsciiAdded)
        return;
    const QByteArrayView inserted = view->rangeView(position, length);
    if (std::any_of(inserted.begin(), inserted.end(), [](char c) { return static_cast<uchar>(c) >= 0x80; }))
        m_documents.setNonAsciiAdded(index, true);
}

void FileController::settleEdits()
{
    // An insertion is told once the next change comes, or when asked.
    for (int i = 0; i < m_documents.count(); ++i)
        if (EditorView* view =
                i == m_documents.currentIndex() ? m_views.current() : m_views.keptView(m_documents.at(i).storeFile))
            view->settleEdits();
}

bool FileController::mayAddUtf8ToRawBytes()
{
    settleEdits();
    const Document& document = m_documents.current();
    if (!document.nonAsciiAdded)
        return true;
    const QString name = QFileInfo(document.path).fileName();
    const QString question =
        QStringLiteral("\"%1\": %2.\n\nCharacters outside ASCII were typed or pasted into it. They would be saved "
                       "as UTF-8 among its raw bytes, and the file would then hold two encodings at once.\n\nSave "
                       "anyway? To keep the file in its own encoding, choose No, then File > Reopen with Encoding to "
                       "read it in its code page.")
            .arg(name, document.rawBytesNote);
    if (Prompts::current().question(ConfirmationTitle, question, Answer::No) == Answer::Yes)
        return true;
    m_statusBar.setMessage(
        QStringLiteral("Not saved: \"%1\" is raw bytes; File > Reopen with Encoding reads it in its code page.")
            .arg(name));
    return false;
}

bool FileController::mayReplaceChangedFile()
{
    const QString path = m_documents.current().path;
    if (!m_disk.changedOnDisk(path) || !QFileInfo::exists(path))
        return true;
    const QString question = QStringLiteral("The file \"%1\" has been changed by another program since it was "
                                            "opened or saved.\n\nSaving replaces those changes with the text of "
                                            "this document. Replace it?")
                                 .arg(QDir::toNativeSeparators(path));
    if (Prompts::current().question(ConfirmationTitle, question, Answer::No) == Answer::Yes)
        return true;
    m_statusBar.setMessage(
        QStringLiteral("Not saved: \"%1\" was changed by another program.").arg(QFileInfo(path).fileName()));
    return false;
}

void FileController::fileChangedOnDisk(const QString& path, bool deleted)
{
    bool open = false;
    for (int i = 0; i < m_documents.count(); ++i) {
        if (platform::sameFileName(m_documents.at(i).path, path)) {
            m_documents.setDiskChange(i, deleted ? QStringLiteral("Deleted from Disk")
                                                 : QStringLiteral("Changed on Disk"));
            open = true;
        }
    }
    if (!open) {
        m_disk.forget(path);
        return;
    }
    const QString name = QFileInfo(path).fileName();
    m_statusBar.setMessage(deleted ? QStringLiteral("\"%1\" was deleted or moved by another program; saving "
                                                    "writes it again.")
                                         .arg(name)
                                   : QStringLiteral("\"%1\" was changed by another program.").arg(name));
    if (deleted) {
        m_reloadPending.remove(path);
        return;
    }
    m_reloadPending.insert(path);
    offerPendingReload();
}

void FileController::offerPendingReload()
{
    if (m_offeringReload || m_reloadPending.isEmpty() || m_documents.isAdding())
        return;
    const QString path = m_documents.current().path;
    if (!m_reloadPending.contains(path))
        return;
    // Not while the window is hidden or minimized: the question waits until it is shown.
    if (!m_window.isVisible() || m_window.isMinimized())
        return;
    // Not in the middle of another question or dialog: the question waits until it is over.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(500, &m_disk, [this] { offerPendingReload(); });
        return;
    }
    m_reloadPending.remove(path);
    m_offeringReload = true;
    const auto done = qScopeGuard([this] { m_offeringReload = false; });
    const int index = m_documents.currentIndex();
    const bool modified = m_documents.isModified(index) || editor().modifiedFlag();
    const QString question =
        QStringLiteral("The file \"%1\" has been changed by another program.\n\nReload it from disk? Yes "
                       "replaces the text in the editor with the file's; No keeps the text in the editor.")
            .arg(QDir::toNativeSeparators(path));
    // Reloading throws away what the editor holds: the default only when that is nothing new.
    if (Prompts::current().question(ConfirmationTitle, question, modified ? Answer::No : Answer::Yes) == Answer::Yes) {
        runCommand([this] {
            refreshFromDisk();
            m_documents.setCurrentModified(false);
            m_documents.refreshTabPictures();
        });
        return;
    }
    // The editor's text is no longer what the file holds.
    m_documents.setCurrentModified(true);
    m_documents.refreshTabPictures();
}

// --- Close ---------------------------------------------------------------------------------------

void FileController::closeDocument()
{
    m_documents.closeDocument([this](const QString& text) { return ask(text); });
}

void FileController::closeAll()
{
    m_documents.closeAll([this](const QString& text) { return ask(text); });
}

bool FileController::exitSavePass()
{
    // A change the key tracking has not seen yet still counts.
    if (editor().modifiedFlag() && !m_documents.isModified(m_documents.currentIndex()))
        m_documents.markCurrentModified();
    for (int i = 0; i < m_documents.count(); ++i) {
        if (!m_documents.isModified(i))
            continue;
        m_documents.switchTo(i);
        if (m_window.isHidden() || m_window.isMinimized())
            m_window.showNormal();
        m_window.raise();
        m_window.activateWindow();
        switch (ask(ExitQuestion)) {
        case Answer::Yes:
            try {
                if (!saveCurrent())
                    return false;
            } catch (const CommandError& e) {
                showCommandError(e);
                return false;
            }
            break;
        case Answer::No:
            break;
        case Answer::Cancel:
            return false;
        }
    }
    return true;
}
