#include "mainwindow/mainwindow.h"

#include "core/commandguard.h"
#include "core/commandline.h"
#include "core/prompts.h"
#include "mainwindow/statusbar.h"
#include "mainwindow/documenttabs.h"
#include "windows/clipbookwindow.h"
#include "commands/datetimeformat.h"
#include "editor/editorviews.h"
#include "editor/editorview.h"
#include "documents/textlines.h"
#include "platform/platform.h"
#include "windows/configurationdialog.h"
#include "settings/windowsettings.h"
#include "windows/documentselector.h"
#include "windows/windowbase.h"
#include "windows/tipwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFile>
#include <QMenu>
#include <QProgressBar>
#include <QStackedWidget>
#include <QStatusTipEvent>
#include <QTimer>
#include <QVBoxLayout>

MainWindow* QuilForm1 = nullptr;

namespace {
const QString WelcomeMessage = QStringLiteral("Welcome to Quillet!");
const QString TimeSwitchPattern = QStringLiteral("dddd dd/mmmm/yyyy hh:nn:ss ampm");
} // namespace

MainWindow::MainWindow(const QStringList& arguments, QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("QuilForm1"));
    setWindowTitle(Caption);
    move(168, 149);
    resize(525, 281 + 33 + 22 + 21);

    TabControl1 = new DocumentTabs(this);
    TabControl1->setObjectName(QStringLiteral("TabControl1Panel"));
    setCentralWidget(TabControl1);

    StatusBar1 = new StatusBar(this);
    setStatusBar(StatusBar1);
    StatusBar1->setContextMenuPolicy(Qt::CustomContextMenu);

    m_documents = std::make_unique<DocumentSet>(*this);
    createActions();

    m_views = new EditorViews(TabControl1, [this](QWidget* parent) { return makeEditorView(parent); });
    TabControl1->setEditor(m_views->widget());
    Editor = m_views->current();
    connect(m_views, &EditorViews::currentChanged, this, [this](EditorView* view) {
        Editor = view;
        EditorSelectionChange();
    });
    EditorSettings settings;
    settings.font = QFont(QStringLiteral("Courier New"));
    settings.font.setStyleHint(QFont::Monospace);
    settings.font.setPointSize(10); // 13 pixels at 96 dpi; the editor sizes its styles in points
    // A first start wraps, as the word-wrap panel says; a wrapping editor needs no horizontal bar.
    settings.wordWrap = true;
    settings.scrollBarsBoth = !settings.wordWrap;
    m_views->setSettings(settings);
    m_actions.value(QStringLiteral("WordWrap1"))->setChecked(settings.wordWrap);
    EditorSelectionChange();

    // The file dialogs' first values, until the options window sets their filters.
    const QString configureFilters = QStringLiteral("Please Configure Filters from the Options Window");
    for (FileDialogState* dialog : {&OpenDialog1, &SaveDialog1, &SaveDialog2, &InsertDialog1}) {
        dialog->fileName = configureFilters;
        dialog->defaultExt = QStringLiteral("txt");
    }
    // Commands that reuse a dialog without naming it show these until something renames it.
    OpenDialog1.title = QStringLiteral("Open Text File");
    SaveDialog1.title = QStringLiteral("Save Text");
    SaveDialog2.title = QStringLiteral("Save Selected Text");
    createFormStorage();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { runCommand([this] { Timer1Timer(); }); });
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1000);
    connect(Timer2, &QTimer::timeout, this, [this] { runCommand([this] { Timer2Timer(); }); });
    AutoSave1 = new QTimer(this);
    AutoSave1->setObjectName(QStringLiteral("AutoSave1"));
    AutoSave1->setInterval(360000);
    connect(AutoSave1, &QTimer::timeout, this, [this] { runCommand([this] { SaveAllDocuments(); }); });

    connect(TabControl1->tabs(), &DocumentTabBar::tabChosen, this, [this](int index) { TabControl1Change(index); });
    connect(TabControl1->tabs(), &DocumentTabBar::mouseMoved, this, [this] { TabControl1MouseMove(); });
    TabControl1->tabs()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TabControl1->tabs(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(TabControl1->tabs()->mapToGlobal(pos)); });
    connect(StatusBar1, &StatusBar::panelHovered, this, [this](int panel) { StatusBar1MouseMove(panel); });
    connect(StatusBar1, &StatusBar::panelReleased, this,
            [this](int panel) { runCommand([this, panel] { StatusBar1MouseUp(panel); }); });
    connect(StatusBar1, &StatusBar::resized, this, [this] { StatusBar1Resize(); });
    connect(StatusBar1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { StatusMenu3->popup(StatusBar1->mapToGlobal(pos)); });

    // Placement, recent lists and stored properties come back before the creation sequence.
    attachStorage(FormStorage1);
    FormCreate(arguments);
}

EditorView* MainWindow::makeEditorView(QWidget* parent)
{
    auto* view = new EditorView(parent);
    view->setObjectName(QStringLiteral("Editor"));
    view->removeKeyBindings(m_programKeys);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](const QPoint& pos) { PopupMenu1->popup(view->mapToGlobal(pos)); });
    connect(view, &EditorView::keyDown, this, [this] { runCommand([this] { EditorKeyDown(); }); });
    connect(view, &EditorView::userEdited, this, [this] { m_undoToggled = false; });
    connect(view, &QsciScintilla::selectionChanged, this, [this, view] {
        if (view == Editor)
            EditorSelectionChange();
    });
    connect(view, &EditorView::filesDropped, this, [this](const QStringList& paths) {
        activateWindow();
        raise();
        for (const QString& path : paths)
            runCommand([this, &path] { DropFile1DropFile(path); });
    });
    return view;
}

MainWindow::~MainWindow()
{
    // Saved while the controls still exist, unless a close saved it already.
    FormStorage1->formDestroying();
    // However the program ends, no store file outlives it.
    if (!m_closed && m_documents)
        for (const QString& file : m_documents->tempRegister())
            platform::deleteFileQuietly(file);
    if (QuilForm1 == this)
        QuilForm1 = nullptr;
}

void MainWindow::FormCreate(const QStringList& arguments)
{
    // The first document.
    m_documents->appendEntry(UntitledName, UntitledName);
    tabPictureChanged(0, 0);
    m_documents->addDocumentSlot();

    StatusBar1->createProgressBar();
    processCommandLine(arguments);
    Timer2->start();
    tabHintChanged(m_documents->currentTabHint());
    editorHintChanged(m_documents->currentFile());
    showMessage(WelcomeMessage);
}

void MainWindow::FormShow()
{
    setDropEnabled(true);
    if (TipForm1 && TipForm1->showAtStart())
        TipForm1->show();
    statusModifiedChanged(m_documents->isModified(m_documents->tabIndex()));
    titleDocumentTextChanged(m_documents->titleDocumentText());
    if (Config1)
        Config1->setProgramDirectory(platform::programDirectory());
}

bool MainWindow::FormCloseQuery()
{
    ClipBookWasVisible = ClipBook && ClipBook->isVisible();
    DocSelWasVisible = DocSel1 && DocSel1->isVisible();
    if (!isVisible())
        ExitRequested = true;
    if (ExitRequested || !trayIconActive()) {
        // Every way out asks about modified documents first; a cancel keeps the program open.
        if (!ExitSavePass()) {
            ExitRequested = false;
            return false;
        }
        return true;
    }
    // With the notification-area icon active, closing only hides the program.
    hide();
    return false;
}

void MainWindow::FormClose()
{
    m_views->forgetAll();
    for (const QString& file : m_documents->tempRegister())
        platform::deleteFileQuietly(file);
    showMessage(WelcomeMessage);
    m_closed = true;
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        runCommand([this] { FormShow(); });
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    bool allowed = false;
    runCommand([&] { allowed = FormCloseQuery(); });
    if (!allowed) {
        event->ignore();
        return;
    }
    runCommand([this] { FormClose(); });
    event->accept();
    // The program ends with its main window, whatever side windows are still open.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    StatusBar1Resize();
}

bool MainWindow::event(QEvent* event)
{
    // Status panel 4 follows the current hint: the long hint of whatever the mouse points at.
    if (event->type() == QEvent::StatusTip) {
        showMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool MainWindow::dropEnabled() const
{
    return m_views->settings().acceptFileDrops;
}

void MainWindow::setDropEnabled(bool enabled)
{
    EditorSettings settings = m_views->settings();
    settings.acceptFileDrops = enabled;
    m_views->setSettings(settings);
}

void MainWindow::showMessage(const QString& text)
{
    StatusBar1->setPanelText(4, text);
}

void MainWindow::setShowFileNameInTitle(bool show)
{
    m_showFileName = show;
    updateTitle();
}

void MainWindow::updateTitle()
{
    setWindowTitle(Caption + (m_showFileName ? m_titleDocText : QString()));
}

// --- Command line --------------------------------------------------------------------------

void MainWindow::processCommandLine(const QStringList& arguments)
{
    for (const StartupAction& action : parseCommandLine(arguments)) {
        switch (action.kind) {
        case StartupAction::OpenFile:
            openFromCommandLine(action.argument);
            break;
        case StartupAction::OpenListedFiles:
            runCommand([&] { openListedFiles(action.argument); });
            break;
        case StartupAction::Print:
        case StartupAction::PrintAndQuit:
            // The file goes to the scratch buffer to be printed under its name as given.
            runCommand([&] { TextBox1 = readFileBytes(action.argument); });
            if (action.kind == StartupAction::PrintAndQuit)
                QTimer::singleShot(0, this, [this] { Exit1Click(); });
            break;
        case StartupAction::MiniTray:
            Timer1->start();
            break;
        case StartupAction::TimeStamp:
            runCommand([this] { appendTimeStamp(); });
            break;
        case StartupAction::MissingFile:
            Prompts::current().error(
                QStringLiteral("The switch \"%1\" needs a file name after it.").arg(action.argument));
            break;
        }
    }
}

void MainWindow::openListedFiles(const QString& listFile)
{
    TextBox1 = readFileBytes(listFile);
    const QList<QByteArray> lines = splitLines(TextBox1);
    for (const QByteArray& line : lines) {
        const QString path = QFile::decodeName(line);
        openFromCommandLine(path);
    }
    TextBox1.clear();
}

void MainWindow::appendTimeStamp()
{
    appendLine(
        formatDateTime(TimeSwitchPattern, QDateTime::currentDateTime(), DateTimeLocale::fromQLocale(QLocale::system()))
            .toUtf8());
    m_documents->markCurrentModified();
}

void MainWindow::appendLine(const QByteArray& line)
{
    const qint64 length = Editor->textLength();
    const char last = length > 0 ? static_cast<char>(Editor->SendScintilla(QsciScintillaBase::SCI_GETCHARAT,
                                                                           static_cast<unsigned long>(length - 1)))
                                 : '\0';
    Editor->insertBytes(length, lineToAppend(last, line));
}

void MainWindow::openFromCommandLine(const QString& path)
{
    const int countBefore = m_documents->count();
    try {
        OpenFileByPath(path);
    } catch (...) {
        recoverFailedOpen(path, countBefore);
    }
}

void MainWindow::recoverFailedOpen(const QString& argument, int countBefore)
{
    tabPictureChanged(0, 0);
    statusModifiedChanged(false);
    // A failure before the new tab was added (the stash of the current document) leaves the
    // current document as it was; one after it names the new tab after the argument.
    const bool added = m_documents->count() > countBefore;
    if (added && m_documents->storeFiles().size() < m_documents->count())
        runCommand([this] { m_documents->addDocumentSlot(); });
    m_documents->refreshTabPictures();
    if (added)
        LogStampCheck();
    platform::beep();
    if (added)
        m_documents->setCurrentCaption(argument);
}

// --- Commands ------------------------------------------------------------------------------

void MainWindow::NewBtn1Click()
{
    m_documents->newDocument();
}

void MainWindow::NextDocument1Click()
{
    m_documents->nextDocument();
}

void MainWindow::PreviousDocument1Click()
{
    m_documents->previousDocument();
}

void MainWindow::TabControl1Change(int index)
{
    runCommand([this, index] { m_documents->switchTo(index); });
    // A switch that failed leaves the old document current: the strip must say so too.
    if (TabControl1->tabIndex() != m_documents->tabIndex())
        TabControl1->setTabIndex(m_documents->tabIndex());
}

void MainWindow::TabControl1MouseMove()
{
    tabHintChanged(m_documents->currentTabHint());
    showMessage(m_tabHint);
}

void MainWindow::EditorKeyDown()
{
    m_documents->editorKeyDown();
}

void MainWindow::WordWrapBtn1Click()
{
    m_documents->setCurrentPosition(Editor->selStart());
    EditorSettings settings = m_views->settings();
    settings.wordWrap = !settings.wordWrap;
    settings.scrollBarsBoth = !settings.wordWrap;
    m_views->setSettings(settings);
    m_actions.value(QStringLiteral("WordWrap1"))->setChecked(settings.wordWrap);
    StatusBar1->setPanelText(5, settings.wordWrap ? QStringLiteral("  W-W") : QString());
    Editor->setCaret(m_documents->positions().value(m_documents->tabIndex()).toLongLong());
}

void MainWindow::Exit1Click()
{
    ExitRequested = true;
    close();
}

void MainWindow::Show1Click()
{
    // The action has already toggled its check mark.
    StatusBar1->setSizeGrip(m_actions.value(QStringLiteral("Show1"))->isChecked());
}

void MainWindow::ChangeStatusBarFont1Click()
{
    if (const auto font = Prompts::current().chooseFont(StatusBar1->font()))
        StatusBar1->setFont(*font);
}

void MainWindow::Timer1Timer()
{
    Timer1->stop();
    // Without a notification-area icon a hidden program could not be brought back, so it only
    // goes to the task bar.
    if (trayIconActive())
        hide();
    else
        showMinimized();
}

void MainWindow::Timer2Timer()
{
    const qint64 line = Editor->lineFromPosition(Editor->selStart()) + 1;
    const qint64 column = Editor->selLength() + Editor->caretPixelX() / 8 + 1;
    StatusBar1->setPanelText(1, QStringLiteral("%1:%2").arg(line).arg(column));
    StatusBar1->setPanelText(3, Editor->overtype() ? QStringLiteral("OVR") : QStringLiteral("INS"));
    StatusBar1->setPanelText(0, QTime::currentTime().toString(QStringLiteral("hh:mm:ss")));
}

void MainWindow::StatusBar1MouseMove(int panel)
{
    QString hint;
    switch (panel) {
    case 0:
        hint = QStringLiteral("The Time is: ") + StatusBar1->panelText(0);
        break;
    case 1:
        hint = QStringLiteral("The Cursor Position is: ") + StatusBar1->panelText(1);
        break;
    case 2:
        hint = StatusBar1->panelText(2) == ModifiedEntry ? QStringLiteral("The Current Document is Modified")
                                                         : QStringLiteral("The Current Document is not Modified");
        break;
    case 3:
        hint = StatusBar1->panelText(3) == QLatin1String("INS") ? QStringLiteral("Quillet is in Insert Mode.")
                                                                : QStringLiteral("Quillet is in Over-Write Mode.");
        break;
    case 4:
        hint = QStringLiteral("Quillet v4.6 - many documents, one editor. Click here to find out more about Quillet.");
        break;
    case 5:
        hint = StatusBar1->panelText(5).isEmpty() ? QStringLiteral("Quillet is not Word-Wrapped")
                                                  : QStringLiteral("Quillet is Word-Wrapped");
        break;
    default:
        return;
    }
    if (hint != m_statusHint) {
        m_statusHint = hint;
        StatusBar1->setStatusTip(hint);
        showMessage(hint);
    }
}

void MainWindow::StatusBar1MouseUp(int panel)
{
    // Panel 0 inserts the time as the Insert Time button; panel 4 (About) acts once it exists.
    if (panel == 0)
        TimeBtn1Click();
    else if (panel == 5)
        WordWrapBtn1Click();
}

void MainWindow::StatusBar1Resize()
{
    const int others = StatusBar1->panelWidth(0) + StatusBar1->panelWidth(1) + StatusBar1->panelWidth(2) +
                       StatusBar1->panelWidth(3) + StatusBar1->panelWidth(5);
    StatusBar1->setPanelWidth(4, width() - others - 16);
    if (QProgressBar* progress = StatusBar1->progressBar())
        progress->resize(StatusBar1->panelWidth(4) - 8, progress->height());
}

// --- DocumentHost ----------------------------------------------------------------------------

QString MainWindow::createStoreFile()
{
    return platform::createTempFile(QStringLiteral("txt"));
}

qint64 MainWindow::editorSelStart() const
{
    return Editor->selStart();
}

void MainWindow::editorStash(const QString& storeFile)
{
    m_views->stash(storeFile);
}

void MainWindow::editorShow(const QString& storeFile)
{
    m_views->show(storeFile);
}

bool MainWindow::editorModifiedFlag() const
{
    return Editor->modifiedFlag();
}

void MainWindow::editorClearModifiedFlag()
{
    Editor->clearModifiedFlag();
}

void MainWindow::editorSetCaret(qint64 pos)
{
    Editor->setCaret(pos);
}

void MainWindow::editorClear()
{
    Editor->clearText();
}

void MainWindow::storeFileDropped(const QString& storeFile)
{
    m_views->forget(storeFile);
}

void MainWindow::tabRemoved(int index)
{
    TabControl1->removeTab(index);
}

void MainWindow::tabAppended(const QString& caption)
{
    TabControl1->appendTab(caption);
}

void MainWindow::tabIndexChanged(int index)
{
    TabControl1->setTabIndex(index);
}

void MainWindow::tabPictureChanged(int index, int picture)
{
    TabControl1->tabs()->setPicture(index, picture);
}

void MainWindow::tabCaptionChanged(int index, const QString& caption)
{
    TabControl1->setCaption(index, caption);
}

void MainWindow::statusModifiedChanged(bool modified)
{
    StatusBar1->setPanelText(2, modified ? ModifiedEntry : QString());
}

void MainWindow::tabHintChanged(const QString& hint)
{
    m_tabHint = hint;
    TabControl1->tabs()->setToolTip(hint);
    TabControl1->tabs()->setStatusTip(hint);
}

void MainWindow::editorHintChanged(const QString& hint)
{
    m_editorHint = hint;
    Editor->setStatusTip(hint);
}

void MainWindow::titleDocumentTextChanged(const QString& text)
{
    m_titleDocText = text;
    updateTitle();
}

void MainWindow::saveDialogFileNameChanged(const QString& name)
{
    SaveDialog1.fileName = name;
}

void MainWindow::documentListChanged(const QStringList& captions, int selected)
{
    // The selector does not exist yet while the command line is processed at creation.
    if (DocSel1)
        DocSel1->setDocuments(captions, selected);
}
