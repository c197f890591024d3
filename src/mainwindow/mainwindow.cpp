#include "mainwindow/mainwindow.h"

#include "core/commandguard.h"
#include "core/commandline.h"
#include "core/prompts.h"
#include "documents/documentset.h"
#include "documents/filesave.h"
#include "documents/recoveryjournal.h"
#include "editor/editorview.h"
#include "editor/editorviews.h"
#include "mainwindow/auxiliarywindowscontroller.h"
#include "mainwindow/clipbookcontroller.h"
#include "mainwindow/commandtable.h"
#include "mainwindow/datecontroller.h"
#include "mainwindow/documentdisplay.h"
#include "mainwindow/documenttabs.h"
#include "mainwindow/editcontroller.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/findcontroller.h"
#include "mainwindow/outsidecontroller.h"
#include "mainwindow/printcontroller.h"
#include "mainwindow/programwindows.h"
#include "mainwindow/recoverycontroller.h"
#include "mainwindow/sidewindowscontroller.h"
#include "mainwindow/statusbar.h"
#include "mainwindow/textcontroller.h"
#include "mainwindow/traycontroller.h"
#include "mainwindow/viewcontroller.h"
#include "platform/platform.h"
#include "platform/textcodec.h"
#include "platform/userfolders.h"
#include "settings/recentfilesmenu.h"
#include "settings/windowsettings.h"
#include "windows/captionbar.h"
#include "windows/clipbookwindow.h"
#include "windows/configurationdialog.h"
#include "windows/documentselector.h"
#include "windows/optionsdialog.h"
#include "windows/tipwindow.h"
#include "windows/windowbase.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>

namespace {
const QString WelcomeMessage = QStringLiteral("Welcome to Quillet!");
} // namespace

MainWindow::MainWindow(ProgramWindows& windows, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), m_windows(windows)
{
    setObjectName(QStringLiteral("QuilForm1"));
    m_captionBar = new CaptionBar(this);
    {
        using Part = CaptionBar::Part;
        QFont productFont(QStringLiteral("Arial"));
        productFont.setPixelSize(12);
        productFont.setBold(true);
        productFont.setItalic(true);
        m_captionBar->setPartFont(Part::ProductText, productFont);
        // The product text keeps its active colour while the window is inactive.
        m_captionBar->setPartColors(Part::ProductText, QColor(), CaptionBar::systemTextColor(true));
        m_captionBar->setPartFontKind(Part::AppNameText, CaptionBar::FontKind::SystemBold);
        m_captionBar->setGradientMode(captionmath::GradientMode::Always);
        m_captionBar->setPartCaption(Part::ProductText, ProductText);
    }
    move(168, 149);
    resize(525, 281 + 33 + 22 + 21);

    m_tabs = new DocumentTabs(this);
    m_tabs->setObjectName(QStringLiteral("TabControl1Panel"));
    setCentralWidget(m_tabs);
    m_statusBar = new StatusBar(this);
    setStatusBar(m_statusBar);
    m_statusBar->setContextMenuPolicy(Qt::CustomContextMenu);

    createCommands();
    m_views = new EditorViews(m_tabs, [this](QWidget* viewParent) { return makeEditorView(viewParent); });
    m_tabs->setEditor(m_views->widget());

    m_display = std::make_unique<DocumentDisplay>(*m_tabs, *m_views, *m_statusBar, m_windows, m_dialogs,
                                                  [this](const QString& text) {
                                                      m_titleDocText = text;
                                                      updateTitle();
                                                  });
    // Reopening in another encoding needs a file to read; the document's own encoding is ticked.
    m_display->setEncodingShown([this](const Document& document) {
        QAction* reopen = m_commands.action(QStringLiteral("ReopenwithEncoding1"));
        if (!reopen)
            return;
        // Raw bytes are in no encoding: none is ticked.
        const QString current = document.rawBytesNote.isEmpty() ? platform::encodingName(document.encoding) : QString();
        for (QAction* item : reopen->menu()->actions()) {
            item->setEnabled(document.hasFile());
            item->setCheckable(true);
            item->setChecked(QString(item->text()).remove(QLatin1Char('&')) == current);
        }
    });
    m_documents = std::make_unique<DocumentSet>(*m_display);
    m_dates = std::make_unique<DateController>(*m_documents, *m_views, m_windows);
    m_files =
        std::make_unique<FileController>(*m_documents, *m_views, *m_statusBar, m_windows, m_dialogs,
                                         RecentFiles{m_recentFiles, m_trayRecentFiles}, m_scratch, *m_dates, *this);
    m_editing = std::make_unique<EditController>(*m_documents, *m_views, m_commands);
    m_find = std::make_unique<FindController>(*m_documents, *m_views, m_windows, *this);
    m_text = std::make_unique<TextController>(*m_documents, *m_views, *m_statusBar, m_windows, m_dialogs, m_scratch,
                                              m_commands);
    m_view = std::make_unique<ViewController>(*m_documents, *m_views, *m_statusBar, m_commands, m_windows, *m_dates);
    m_clipBook = std::make_unique<ClipBookController>(*m_documents, *m_views, *m_files, m_windows, m_dialogs);
    m_print = std::make_unique<PrintController>(*m_documents, *m_views, *m_statusBar, m_pageSetup);
    m_outside = std::make_unique<OutsideController>(*m_documents, *m_views, *m_statusBar, m_windows, m_dialogs);
    m_auxiliaryWindows = std::make_unique<AuxiliaryWindowsController>(m_windows, *m_statusBar);
    m_sideWindows = std::make_unique<SideWindowsController>(*m_documents, *m_files, *m_view, m_windows);
    m_tray = std::make_unique<TrayController>(*this, *m_toolBar, *m_statusBar, m_commands, m_windows, *m_trayMenu);

    EditorSettings settings;
    settings.font = QFont(QStringLiteral("Courier New"));
    settings.font.setStyleHint(QFont::Monospace);
    settings.font.setPointSize(10); // 13 pixels at 96 dpi; the editor sizes its styles in points
    // A first start wraps, as the word-wrap panel says; a wrapping editor needs no horizontal bar.
    settings.wordWrap = true;
    settings.scrollBarsBoth = !settings.wordWrap;
    m_views->setSettings(settings);
    action(QStringLiteral("WordWrap1"))->setChecked(settings.wordWrap);
    m_editing->selectionChanged();

    // The file dialogs' first values, until the options window sets their filters.
    const QString configureFilters = QStringLiteral("Please Configure Filters from the Options Window");
    for (FileDialogState* dialog : {&m_dialogs.open, &m_dialogs.save, &m_dialogs.saveSelection, &m_dialogs.insert}) {
        dialog->fileName = configureFilters;
        dialog->defaultExt = QStringLiteral("txt");
    }
    // Commands that reuse a dialog without naming it show these until something renames it.
    m_dialogs.open.title = QStringLiteral("Open Text File");
    m_dialogs.save.title = QStringLiteral("Save Text");
    m_dialogs.saveSelection.title = QStringLiteral("Save Selected Text");
    createStorage();
    createTimers();
    connectSignals();

    // Placement, recent lists and stored properties come back before the creation sequence.
    attachStorage(m_storage);
    m_tray->setIconWanted(m_trayIconProperty);
    m_tray->updateToolBarCommands();
    onCreate(arguments);
}

MainWindow::~MainWindow()
{
    // Saved while the controls still exist, unless a close saved it already.
    m_storage->windowDestroying();
    // However the program ends, no store file outlives it.
    if (!m_closed && m_documents)
        for (const QString& file : m_documents->storeFilesMade())
            platform::deleteFileQuietly(file);
    if (m_windows.main == this)
        m_windows.main = nullptr;
}

EditorView* MainWindow::editor() const
{
    return m_views->current();
}

QString MainWindow::tabHint() const
{
    return m_display->tabHint();
}

QString MainWindow::editorHint() const
{
    return m_display->editorHint();
}

void MainWindow::createCommands()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setFixedHeight(33);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("PopupMenu1"));
    m_statusMenu = new QMenu(this);
    m_statusMenu->setObjectName(QStringLiteral("StatusMenu3"));
    m_trayMenu = new QMenu(this);
    m_trayMenu->setObjectName(QStringLiteral("PopupMenu2"));
    buildCommands(*this, m_commands, {menuBar(), m_toolBar, m_contextMenu, m_statusMenu, m_trayMenu});

    // The File menu's "&ReOpen" and the notification-area menu's own get the same paths.
    auto makeRecentMenu = [this](const QString& name, QMenu* menu) {
        auto* recent = new RecentFilesMenu(this);
        recent->setObjectName(name);
        recent->setCapacity(16);
        recent->setRemoveOnSelect(true);
        recent->setFirstAccelerator(0);
        recent->setAcceleratorDelimiter(RecentFilesMenu::AcceleratorDelimiter::Space);
        recent->setClickHandler([this](const QString& path, const QString&, const QVariant&) {
            runCommand([this, &path] { m_files->openRecent(path); });
        });
        recent->setMenu(menu);
        return recent;
    };
    m_recentFiles = makeRecentMenu(QStringLiteral("MRUManager1"), action(QStringLiteral("ReOpen1"))->menu());
    m_trayRecentFiles = makeRecentMenu(QStringLiteral("MRUManager2"), action(QStringLiteral("ReOpen2"))->menu());
    collectProgramKeys();
}

void MainWindow::collectProgramKeys()
{
    // Every editor view gives up the key bindings of its own that the program's commands use.
    m_programKeys.clear();
    for (const QAction* command : m_commands.actions())
        for (const QKeySequence& sequence : command->shortcuts())
            if (!sequence.isEmpty())
                m_programKeys.append(sequence[0].toCombined());
}

EditorView* MainWindow::makeEditorView(QWidget* parent)
{
    auto* view = new EditorView(parent);
    view->setObjectName(QStringLiteral("Editor"));
    // What a screen reader calls the text; the document's path follows as its description.
    view->setAccessibleName(QStringLiteral("Editor"));
    view->removeKeyBindings(m_programKeys);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](const QPoint& pos) { m_contextMenu->popup(view->mapToGlobal(pos)); });
    connect(view, &EditorView::keyDown, this, [this] { runCommand([this] { m_documents->editorKeyDown(); }); });
    connect(view, &EditorView::userEdited, this, [this] {
        if (m_editing)
            m_editing->userEdited();
    });
    connect(view, &EditorView::selectionChanged, this, [this, view] {
        if (view == editor())
            m_editing->selectionChanged();
    });
    connect(view, &EditorView::insertionMade, this, [this, view](qint64 position, qint64 length) {
        if (m_files)
            m_files->textInserted(view, position, length);
    });
    connect(view, &EditorView::loadFailed, this, [this, view](const QString& reason) {
        if (view == editor())
            m_files->loadInterrupted(reason);
    });
    connect(view, &EditorView::filesDropped, this, [this](const QStringList& paths) {
        activateWindow();
        raise();
        for (const QString& path : paths)
            runCommand([this, &path] { m_files->openDropped(path); });
    });
    return view;
}

void MainWindow::createTimers()
{
    auto makeTimer = [this](const QString& name, int interval, std::function<void()> tick) {
        auto* timer = new QTimer(this);
        timer->setObjectName(name);
        timer->setInterval(interval);
        connect(timer, &QTimer::timeout, this, [tick = std::move(tick)] { runCommand(tick); });
        return timer;
    };
    m_miniTrayTimer = makeTimer(QStringLiteral("Timer1"), 1000, [this] { goToTray(); });
    m_statusTimer = makeTimer(QStringLiteral("Timer2"), 1000, [this] {
        m_view->updateStatusPanels();
        // A saved document's recovery copy goes within the second, without a timer of its own.
        if (m_recovery)
            m_recovery->dropUnmodified();
    });
    m_autoSaveTimer = makeTimer(QStringLiteral("AutoSave1"), 360000, [this] { m_files->saveAllDocuments(); });
}

void MainWindow::connectSignals()
{
    connect(m_views, &EditorViews::currentChanged, this, [this] {
        if (m_editing)
            m_editing->selectionChanged();
    });
    DocumentTabBar* tabs = m_tabs->tabs();
    connect(tabs, &DocumentTabBar::tabChosen, this, [this](int index) { tabChosen(index); });
    connect(tabs, &DocumentTabBar::mouseMoved, this, [this] {
        m_documents->publishHints();
        showMessage(m_display->tabHint());
    });
    tabs->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tabs, &QWidget::customContextMenuRequested, this,
            [this, tabs](const QPoint& pos) { m_contextMenu->popup(tabs->mapToGlobal(pos)); });
    connect(m_statusBar, &StatusBar::panelHovered, this, [this](int panel) { m_view->statusPanelHovered(panel); });
    connect(m_statusBar, &StatusBar::panelReleased, this,
            [this](int panel) { runCommand([this, panel] { m_view->statusPanelClicked(panel); }); });
    connect(m_statusBar, &StatusBar::resized, this, [this] { m_view->layOutStatusBar(width()); });
    connect(m_statusBar, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_statusMenu->popup(m_statusBar->mapToGlobal(pos)); });
}

void MainWindow::tabChosen(int index)
{
    runCommand([this, index] { m_documents->switchTo(index); });
    // A switch that failed leaves the old document current: the strip must say so too.
    if (m_tabs->tabIndex() != m_documents->currentIndex())
        m_tabs->setTabIndex(m_documents->currentIndex());
}

void MainWindow::goToTray()
{
    m_miniTrayTimer->stop();
    m_tray->hideAtStart();
}

bool MainWindow::trayIconActive() const
{
    return m_tray->isActive();
}

// --- Lifecycle -----------------------------------------------------------------------------------

void MainWindow::onCreate(const QStringList& arguments)
{
    // The first document.
    m_documents->beginDocument(UntitledName, QString());
    m_documents->completeDocument();

    m_statusBar->createProgressBar();
    processCommandLine(arguments);
    m_statusTimer->start();
    m_documents->publishHints();
    // Why a file of the command line was not loaded or not opened says more than a welcome.
    QString openNote = m_files->takeOpenNote();
    if (openNote.isEmpty())
        openNote = m_view->wrapNote();
    showMessage(openNote.isEmpty() ? WelcomeMessage : openNote);
}

void MainWindow::processCommandLine(const QStringList& arguments)
{
    for (const StartupAction& startup : parseCommandLine(arguments)) {
        switch (startup.kind) {
        case StartupAction::OpenFile:
            m_files->openFromCommandLine(startup.argument);
            break;
        case StartupAction::OpenListedFiles:
            runCommand([&] { m_files->openListedFiles(startup.argument); });
            break;
        case StartupAction::Print:
        case StartupAction::PrintAndQuit:
            // The file goes to the scratch buffer, as opening it would show it, to be printed under
            // its name as given.
            runCommand([&] {
                m_scratch =
                    readFileText(startup.argument, OptionsDialog::valuesOf(m_windows.options).legacyEncoding).utf8;
                m_print->printScratch(m_scratch, startup.argument);
            });
            if (startup.kind == StartupAction::PrintAndQuit)
                QTimer::singleShot(0, this, [this] { requestExit(); });
            break;
        case StartupAction::MiniTray:
            m_miniTrayTimer->start();
            break;
        case StartupAction::TimeStamp:
            runCommand([this] { m_dates->appendTimeStamp(); });
            break;
        case StartupAction::MissingFile:
            Prompts::current().error(
                QStringLiteral("The switch \"%1\" needs a file name after it.").arg(startup.argument));
            break;
        }
    }
}

void MainWindow::onShow()
{
    setDropEnabled(true);
    if (m_windows.tips)
        m_windows.tips->showAfterMainWindowShown();
    m_display->statusModifiedChanged(m_documents->isModified(m_documents->currentIndex()));
    m_documents->showTitle();
    if (m_windows.configuration)
        m_windows.configuration->setProgramDirectory(platform::programDirectory());
    m_files->windowShown();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Brought back from the task bar: a question that waited for the window comes now.
    if (event->type() == QEvent::WindowStateChange && !isMinimized() && m_files)
        m_files->windowShown();
    // The product text's inactive colour is the palette's active one: taken again from a new palette.
    if (event->type() == QEvent::PaletteChange)
        m_captionBar->setPartColors(CaptionBar::Part::ProductText, QColor(), CaptionBar::systemTextColor(true));
}

void MainWindow::enableRecovery(RecoveryJournal& journal)
{
    m_recovery = std::make_unique<RecoveryController>(*m_documents, *m_views, journal);
    connect(m_recovery.get(), &RecoveryController::copiesFailing, this,
            [this](const QString& reason) { recoveryCopiesFailing(reason); });
    connect(m_recovery.get(), &RecoveryController::copiesWritten, this,
            [this] { showMessage(QStringLiteral("Unsaved changes are copied for recovery again.")); });
    // The text being saved is on disk, apart from the file, before a write in place could leave the
    // file half new.
    m_files->setBeforeWritingInPlace([this] { m_recovery->keepApartFromFiles(); });
    if (!journal.isActive())
        recoveryCopiesFailing(QStringLiteral("The folder cannot be made or locked."));

    QList<RecoveryJournal::SetAside> setAside;
    const QList<RecoveryRecord> records = journal.adoptAbandoned(platform::setAsideFolder(), &setAside);
    int reopened = 0;
    for (const RecoveryRecord& record : records) {
        try {
            m_recovery->reopen(record);
        } catch (const CommandError& e) {
            // Nothing is shown that does not come out as it was recorded; it stays for a person to
            // look at, out of the way of later starts.
            setAside.append({record.caption, e.message(), journal.setAside(record, platform::setAsideFolder())});
            continue;
        }
        m_files->watchCurrentFile(record.fileState);
        ++reopened;
    }
    if (reopened > 0) {
        m_documents->refreshDocumentList();
        // The count first: the message panel may show only the start.
        showMessage(reopened == 1
                        ? QStringLiteral("Recovered 1 unsaved document from the last run: save it or close it.")
                        : QStringLiteral("Recovered %1 unsaved documents from the last run: save or close each.")
                              .arg(reopened));
    }
    if (!setAside.isEmpty()) {
        QStringList lines;
        for (const RecoveryJournal::SetAside& item : std::as_const(setAside)) {
            const QString caption = item.caption.isEmpty() ? UntitledName : item.caption;
            lines.append(item.movedTo.isEmpty()
                             ? QStringLiteral("\"%1\": %2 It could not be moved aside.").arg(caption, item.reason)
                             : QStringLiteral("\"%1\": %2 It was moved to \"%3\".")
                                   .arg(caption, item.reason, QDir::toNativeSeparators(item.movedTo)));
        }
        Prompts::current().warning(QStringLiteral("Quillet -Recovery"),
                                   QStringLiteral("Unsaved work of the last run could not be opened:\n\n") +
                                       lines.join(QLatin1Char('\n')));
    }
    offerInterruptedSaves();
}

void MainWindow::offerInterruptedSaves()
{
    for (const InterruptedSave& save : interruptedSaves()) {
        // The document that was being saved, recovered with the text it was saving.
        int index = -1;
        for (int i = 0; i < m_documents->count(); ++i) {
            const QString& path = m_documents->at(i).path;
            if (m_documents->isModified(i) &&
                (platform::sameFileName(path, save.path) || platform::sameFileName(path, save.target)))
                index = i;
        }
        const QString file = QDir::toNativeSeparators(save.path);
        const QString keepNew =
            index >= 0 ? QStringLiteral("No keeps the text that was being saved: it is open as \"%1\" and is saved to "
                                        "the file now.")
                             .arg(m_documents->at(index).caption)
                       : QStringLiteral("No keeps the file as it is now.");
        const QString question =
            QStringLiteral("Quillet ended while it was saving \"%1\", so the file may hold part of the new text over "
                           "the old.\n\nYes puts back what the file held before that save. %2 Cancel leaves the file "
                           "as it is and asks again at the next start.")
                .arg(file, keepNew);
        const Answer answer = Prompts::current().question(QStringLiteral("Quillet -Interrupted Save"), question);
        runCommand([&] {
            switch (answer) {
            case Answer::Yes:
                restoreKeptContent(save);
                m_files->fileWrittenHere(save.path);
                showMessage(QStringLiteral("\"%1\" holds again what it held before the interrupted save.").arg(file));
                break;
            case Answer::No:
                if (index >= 0) {
                    m_files->fileWrittenHere(save.path);
                    m_documents->switchTo(index);
                    m_files->save();
                    if (m_documents->isModified(index))
                        return; // not saved: asked again at the next start
                }
                discardKeptContent(save);
                break;
            case Answer::Cancel:
                break;
            }
        });
    }
}

void MainWindow::recoveryCopiesFailing(const QString& reason)
{
    const QString folder = QDir::toNativeSeparators(platform::recoveryFolder());
    showMessage(QStringLiteral("Unsaved changes cannot be copied for recovery: %1").arg(reason));
    if (m_recoveryFailureTold)
        return;
    m_recoveryFailureTold = true;
    // After the command or pass that noticed it, and never while the program ends.
    QTimer::singleShot(0, this, [this, folder, reason] {
        if (m_closed || m_endingUnasked)
            return;
        Prompts::current().warning(
            QStringLiteral("Quillet -Recovery"),
            QStringLiteral("Unsaved changes cannot be copied to \"%1\", where they would survive a crash or a "
                           "kill:\n%2\n\nQuillet keeps trying. Until it succeeds, save your work.")
                .arg(folder, reason));
    });
}

void MainWindow::endKeepingUnsavedWork()
{
    if (m_closed)
        return;
    if (m_recovery) {
        m_recovery->bringUpToDate(true);
        if (!m_recovery->unsavedWorkKept() && !m_recovery->keepInSecondFolder()) {
            // Nowhere to keep the unsaved work: the program stays, asking about it as a close does.
            showMessage(QStringLiteral("Asked to end, but unsaved work cannot be copied anywhere: save it or "
                                       "discard it."));
            if (!m_closing)
                QTimer::singleShot(0, this, [this] { requestExit(); });
            return;
        }
    }
    m_endingUnasked = true;
    // A question or dialog open now would hold the end back until it is answered: it goes, and
    // the close comes once it has.
    bool dialogOpen = false;
    for (int i = 0; i < 20; ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            break;
        dialogOpen = true;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
    if (dialogOpen || m_closing)
        QTimer::singleShot(0, this, [this] { close(); });
    else
        close();
}

bool MainWindow::canClose()
{
    if (m_endingUnasked)
        return true;
    m_tray->rememberSideWindows();
    if (!isVisible())
        m_exitRequested = true;
    if (m_exitRequested || !trayIconActive()) {
        // Every way out asks about modified documents first; a cancel keeps the program open.
        const bool answered = m_files->exitSavePass();
        // Asked meanwhile to end from outside: the recovery copies keep what was not answered.
        if (m_endingUnasked)
            return true;
        if (!answered) {
            m_exitRequested = false;
            return false;
        }
        return true;
    }
    // With the notification-area icon active, closing only hides the program.
    m_tray->hideProgram();
    return false;
}

void MainWindow::onClose()
{
    // Every modified document was saved or given up by the user; only an end the user did not
    // ask for keeps recovery copies.
    if (m_recovery && !m_endingUnasked)
        m_recovery->finish();
    m_views->forgetAll();
    for (const QString& file : m_documents->storeFilesMade())
        platform::deleteFileQuietly(file);
    showMessage(WelcomeMessage);
    m_closed = true;
}

void MainWindow::requestExit()
{
    m_exitRequested = true;
    close();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        runCommand([this] { onShow(); });
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    // A tool bar on its way is put where it was going before anything is saved.
    m_tray->finishSlide();
    bool allowed = false;
    m_closing = true;
    runCommand([&] { allowed = canClose(); });
    m_closing = false;
    if (!allowed) {
        event->ignore();
        return;
    }
    runCommand([this] { onClose(); });
    event->accept();
    // The program ends with its main window, whatever side windows are still open.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (m_tray)
        m_tray->finishSlide();
    if (m_view)
        m_view->layOutStatusBar(width());
}

bool MainWindow::event(QEvent* event)
{
    // The message panel follows the current hint: the long hint of whatever the mouse points at.
    if (event->type() == QEvent::StatusTip) {
        showMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void MainWindow::showMessage(const QString& text)
{
    m_statusBar->setMessage(text);
}

void MainWindow::setShowFileNameInTitle(bool show)
{
    m_showFileName = show;
    updateTitle();
}

void MainWindow::updateTitle()
{
    m_captionBar->setPartCaption(CaptionBar::Part::CaptionText, m_titleDocText);
    m_captionBar->setPartVisible(CaptionBar::Part::CaptionText, m_showFileName);
}
