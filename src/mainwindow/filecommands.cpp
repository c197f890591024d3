// The file commands of the main window: open, save, save as, save all with backups, close,
// close all, refresh from disk, dropped files, and the save pass before the program ends.
// Every save writes a new file beside the target and only then puts it in the target's place.

#include "core/commanderror.h"
#include "core/prompts.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/statusbar.h"
#include "editor/editorviews.h"
#include "documents/filesave.h"
#include "editor/editorview.h"
#include "platform/platform.h"
#include "windows/configurationdialog.h"
#include "settings/recentfilesmenu.h"
#include "windows/optionsdialog.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QThread>

namespace {
const QString ConfirmationTitle = QStringLiteral("Quillet -Confimation Required");
const QString ExitQuestion = QStringLiteral("This Document has been modified, do you want to save it?");

QString programDirectory()
{
    const QString dir = Config1 ? Config1->programDirectory() : QString();
    return dir.isEmpty() ? platform::programDirectory() : dir;
}
} // namespace

Answer MainWindow::ask(const QString& text)
{
    switch (Prompts::current().question(ConfirmationTitle, text)) {
    case Answer::Yes:
        return Answer::Yes;
    case Answer::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

bool MainWindow::makeBackups() const
{
    return QuilletOp ? QuilletOp->makeBackups() : true;
}

// --- Progress --------------------------------------------------------------------------------

void MainWindow::showProgress()
{
    StatusBar1->progressBar()->show();
}

void MainWindow::hideProgress()
{
    StatusBar1->progressBar()->hide();
}

void MainWindow::progressStep(int position)
{
    QProgressBar* bar = StatusBar1->progressBar();
    bar->setValue(position);
    bar->repaint();
    // Each step stays on screen a moment, so that every save is seen to happen.
    if (StepPauseMs > 0)
        QThread::msleep(static_cast<unsigned long>(StepPauseMs));
}

// --- Open ----------------------------------------------------------------------------------------

void MainWindow::OpenBtn1Click()
{
    applyFilters();
    OpenDialog1.title = QStringLiteral("Open Text File");
    const QStringList files = Prompts::current().openFiles(OpenDialog1);
    if (files.isEmpty())
        return;
    for (const QString& file : files)
        OpenFileByPath(file);
    m_documents->refreshDocumentList();
}

void MainWindow::DropFile1DropFile(const QString& path)
{
    setDropEnabled(true);
    OpenFileByPath(path);
    m_documents->refreshDocumentList();
}

void MainWindow::addRecent(const QString& path)
{
    MRUManager1->Add(path);
    MRUManager2->Add(path);
}

void MainWindow::MRUManager2Click(const QString& path)
{
    OpenFileByPath(path);
    m_documents->refreshDocumentList();
}

void MainWindow::RemoveAll1Click()
{
    MRUManager1->Clear();
    MRUManager2->Clear();
}

void MainWindow::RefreshFromDisk1Click()
{
    const QString path = m_documents->currentFile();
    if (path == UntitledName)
        return;
    m_views->loadFile(path);
    Editor->clearModifiedFlag();
}

// --- Save ----------------------------------------------------------------------------------------

void MainWindow::SaveBtn1Click()
{
    saveCurrent();
}

void MainWindow::SaveAsBtn1Click()
{
    saveCurrentAs();
}

bool MainWindow::saveCurrent()
{
    const QString path = m_documents->currentFile();
    if (path == UntitledName) {
        const bool saved = saveCurrentAs();
        m_documents->refreshTabPictures();
        return saved;
    }
    showProgress();
    statusModifiedChanged(false);
    showMessage(QString());
    try {
        progressStep(0);
        writeTextFile(path, Editor->textView(), LineEnds::Crlf);
    } catch (...) {
        failedSave();
        throw;
    }
    progressStep(10);
    m_documents->setCurrentCaption(QFileInfo(path).fileName());
    progressStep(20);
    progressStep(30);
    m_documents->setCurrentModifiedEntry(NotModifiedEntry);
    Editor->clearModifiedFlag();
    for (int step = 40; step <= 70; step += 10)
        progressStep(step);
    addRecent(path);
    progressStep(80);
    progressStep(90);
    m_documents->refreshTabPictures();
    try {
        CreateBackup(path);
    } catch (...) {
        hideProgress();
        throw;
    }
    progressStep(100);
    hideProgress();
    showMessage(QStringLiteral("Done!"));
    m_documents->refreshTabPictures();
    return true;
}

bool MainWindow::saveCurrentAs()
{
    applyFilters();
    SaveDialog1.title = QStringLiteral("Save Text");
    SaveDialog1.fileName = m_documents->currentCaption();
    const QString path = withDefaultExtension(Prompts::current().saveFile(SaveDialog1), SaveDialog1.defaultExt);
    if (path.isEmpty()) {
        m_documents->refreshTabPictures();
        return false;
    }
    StatusBar1->progressBar()->setValue(0);
    showMessage(QString());
    showProgress();
    try {
        progressStep(10);
        writeTextFile(path, Editor->textView(), LineEnds::Crlf);
    } catch (...) {
        failedSave();
        throw;
    }
    statusModifiedChanged(false);
    for (int step = 20; step <= 40; step += 10)
        progressStep(step);
    m_documents->setCurrentFile(path);
    progressStep(50);
    m_documents->setCurrentCaption(QFileInfo(path).fileName());
    progressStep(60);
    progressStep(70);
    m_documents->setCurrentModifiedEntry(NotModifiedEntry);
    Editor->clearModifiedFlag();
    progressStep(80);
    progressStep(90);
    addRecent(path);
    showMessage(QString());
    progressStep(100);
    hideProgress();
    CreateBackup(path);
    showMessage(QStringLiteral("Done!"));
    tabHintChanged(m_documents->currentTabHint());
    editorHintChanged(path);
    titleDocumentTextChanged(m_documents->titleDocumentText());
    m_documents->refreshTabPictures();
    return true;
}

void MainWindow::failedSave()
{
    // The text on disk is not the document's: it must be asked about before anything discards it.
    hideProgress();
    m_documents->markCurrentModified();
}

void MainWindow::CreateBackup(const QString& path)
{
    // The file just written holds exactly the backup's bytes: copying it is cheaper than writing
    // the text out again.
    const QString dir = programDirectory();
    QDir().mkpath(dir + QStringLiteral("Backup"));
    if (!makeBackups())
        return;
    showMessage(QStringLiteral("Creating Backups.. Done!"));
    copyFileSafely(path, backupFileName(dir, path));
}

void MainWindow::SaveAll1Click()
{
    SaveAllDocuments();
}

void MainWindow::SaveAllDocuments()
{
    // Auto-save may fire while a Save All runs (it lets events through); one pass is enough.
    if (m_savingAll)
        return;
    m_savingAll = true;
    struct Reset
    {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_savingAll};

    showMessage(QStringLiteral("Saving All Files."));
    if (StepPauseMs > 0)
        QThread::msleep(static_cast<unsigned long>(StepPauseMs));
    for (int i = 0; i < m_documents->count(); ++i) {
        const QString path = m_documents->fileList().value(i);
        if (path == UntitledName)
            continue;
        QByteArrayView text;
        if (i == m_documents->tabIndex()) {
            text = Editor->textView();
        } else {
            TextBox1 = readFileBytes(m_documents->storeFiles().value(i));
            text = TextBox1;
        }
        showProgress();
        statusModifiedChanged(false);
        showMessage(QString());
        try {
            progressStep(0);
            writeTextFile(path, text, LineEnds::Crlf);
            for (int step = 10; step <= 90; step += 10)
                progressStep(step);
            m_documents->refreshTabPictures();
            CreateBackup(path);
        } catch (...) {
            hideProgress();
            statusModifiedChanged(m_documents->isModified(m_documents->tabIndex()));
            TextBox1.clear();
            throw;
        }
        progressStep(100);
        hideProgress();
        showMessage(QStringLiteral("Done!"));
        QCoreApplication::processEvents();
    }
    m_documents->refreshTabPictures();
    TextBox1.clear();
    statusModifiedChanged(m_documents->isModified(m_documents->tabIndex()));
}

// --- Close ---------------------------------------------------------------------------------------

void MainWindow::CloseDocBtn1Click()
{
    m_documents->closeDocument([this](const QString& text) { return ask(text); });
}

void MainWindow::CloseAll1Click()
{
    m_documents->closeAll([this](const QString& text) { return ask(text); });
}

bool MainWindow::ExitSavePass()
{
    // A change the key tracking has not seen yet still counts.
    if (Editor->modifiedFlag() && !m_documents->isModified(m_documents->tabIndex()))
        m_documents->markCurrentModified();
    for (int i = 0; i < m_documents->count(); ++i) {
        if (!m_documents->isModified(i))
            continue;
        m_documents->switchTo(i);
        if (isHidden() || isMinimized())
            showNormal();
        raise();
        activateWindow();
        switch (Prompts::current().question(ConfirmationTitle, ExitQuestion)) {
        case Answer::Yes:
            try {
                if (!saveCurrent())
                    return false;
            } catch (const CommandError& e) {
                Prompts::current().error(e.message());
                return false;
            }
            break;
        case Answer::No:
            break;
        default:
            return false;
        }
    }
    return true;
}
