#include "app/quilform1.h"

#include "app/commandguard.h"
#include "app/commandline.h"
#include "app/prompts.h"
#include "app/statusbar.h"
#include "app/tabcontrol.h"
#include "clipbook/clipbook.h"
#include "commands/datetimeformat.h"
#include "documents/editorviews.h"
#include "documents/richexporter.h"
#include "documents/textlines.h"
#include "platform/platform.h"
#include "settings/config1.h"
#include "settings/formplacement.h"
#include "windows/docsel1.h"
#include "windows/formbase.h"
#include "windows/tipform1.h"

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

TQuilForm1* QuilForm1 = nullptr;

namespace {
const QString WelcomeMessage = QStringLiteral("Welcome to Quillet!");
const QString TimeSwitchPattern = QStringLiteral("dddd dd/mmmm/yyyy hh:nn:ss ampm");
} // namespace

TQuilForm1::TQuilForm1(const QStringList& arguments, QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("QuilForm1"));
    setWindowTitle(Caption);
    move(168, 149);
    resize(525, 281 + 33 + 22 + 21);

    TabControl1 = new TCEOTabControl(this);
    TabControl1->setObjectName(QStringLiteral("TabControl1Panel"));
    setCentralWidget(TabControl1);

    StatusBar1 = new TStatusBar1(this);
    setStatusBar(StatusBar1);
    StatusBar1->setContextMenuPolicy(Qt::CustomContextMenu);

    m_documents = std::make_unique<DocumentSet>(*this);
    createActions();

    m_views = new EditorViews(TabControl1, [this](QWidget* parent) { return makeEditorView(parent); });
    TabControl1->setEditor(m_views->widget());
    Editor = m_views->current();
    connect(m_views, &EditorViews::currentChanged, this, [this](TRichExporter* view) {
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

    connect(TabControl1->tabs(), &TCEOTabBar::tabChosen, this, [this](int index) { TabControl1Change(index); });
    connect(TabControl1->tabs(), &TCEOTabBar::mouseMoved, this, [this] { TabControl1MouseMove(); });
    TabControl1->tabs()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TabControl1->tabs(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(TabControl1->tabs()->mapToGlobal(pos)); });
    connect(StatusBar1, &TStatusBar1::panelHovered, this, [this](int panel) { StatusBar1MouseMove(panel); });
    connect(StatusBar1, &TStatusBar1::panelReleased, this,
            [this](int panel) { runCommand([this, panel] { StatusBar1MouseUp(panel); }); });
    connect(StatusBar1, &TStatusBar1::resized, this, [this] { StatusBar1Resize(); });
    connect(StatusBar1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { StatusMenu3->popup(StatusBar1->mapToGlobal(pos)); });

    // Placement, recent lists and stored properties come back before the creation sequence.
    attachStorage(FormStorage1);
    FormCreate(arguments);
}

TRichExporter* TQuilForm1::makeEditorView(QWidget* parent)
{
    auto* view = new TRichExporter(parent);
    view->setObjectName(QStringLiteral("Editor"));
    view->removeKeyBindings(m_programKeys);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](const QPoint& pos) { PopupMenu1->popup(view->mapToGlobal(pos)); });
    connect(view, &TRichExporter::keyDown, this, [this] { runCommand([this] { EditorKeyDown(); }); });
    connect(view, &TRichExporter::userEdited, this, [this] { m_undoToggled = false; });
    connect(view, &QsciScintilla::selectionChanged, this, [this, view] {
        if (view == Editor)
            EditorSelectionChange();
    });
    connect(view, &TRichExporter::filesDropped, this, [this](const QStringList& paths) {
        activateWindow();
        raise();
        for (const QString& path : paths)
            runCommand([this, &path] { DropFile1DropFile(path); });
    });
    return view;
}

TQuilForm1::~TQuilForm1()
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

void TQuilForm1::FormCreate(const QStringList& arguments)
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

void TQuilForm1::FormShow()
{
    setDropEnabled(true);
    if (TipForm1 && TipForm1->showAtStart())
        TipForm1->show();
    statusModifiedChanged(m_documents->isModified(m_documents->tabIndex()));
    titleDocumentTextChanged(m_documents->titleDocumentText());
    if (Config1)
        Config1->setProgramDirectory(platform::programDirectory());
}

bool TQuilForm1::FormCloseQuery()
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

void TQuilForm1::FormClose()
{
    m_views->forgetAll();
    for (const QString& file : m_documents->tempRegister())
        platform::deleteFileQuietly(file);
    showMessage(WelcomeMessage);
    m_closed = true;
}

void TQuilForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        runCommand([this] { FormShow(); });
}

void TQuilForm1::closeEvent(QCloseEvent* event)
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

void TQuilForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    StatusBar1Resize();
}

bool TQuilForm1::event(QEvent* event)
{
    // Status panel 4 follows the current hint: the long hint of whatever the mouse points at.
    if (event->type() == QEvent::StatusTip) {
        showMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TQuilForm1::dropEnabled() const
{
    return m_views->settings().acceptFileDrops;
}

void TQuilForm1::setDropEnabled(bool enabled)
{
    EditorSettings settings = m_views->settings();
    settings.acceptFileDrops = enabled;
    m_views->setSettings(settings);
}

void TQuilForm1::showMessage(const QString& text)
{
    StatusBar1->setPanelText(4, text);
}

void TQuilForm1::setShowFileNameInTitle(bool show)
{
    m_showFileName = show;
    updateTitle();
}

void TQuilForm1::updateTitle()
{
    setWindowTitle(Caption + (m_showFileName ? m_titleDocText : QString()));
}

// --- Command line --------------------------------------------------------------------------

void TQuilForm1::processCommandLine(const QStringList& arguments)
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

void TQuilForm1::openListedFiles(const QString& listFile)
{
    TextBox1 = readFileBytes(listFile);
    const QList<QByteArray> lines = splitLines(TextBox1);
    for (const QByteArray& line : lines) {
        const QString path = QFile::decodeName(line);
        openFromCommandLine(path);
    }
    TextBox1.clear();
}

void TQuilForm1::appendTimeStamp()
{
    appendLine(
        formatDateTime(TimeSwitchPattern, QDateTime::currentDateTime(), DateTimeLocale::fromQLocale(QLocale::system()))
            .toUtf8());
    m_documents->markCurrentModified();
}

void TQuilForm1::appendLine(const QByteArray& line)
{
    const qint64 length = Editor->textLength();
    const char last = length > 0 ? static_cast<char>(Editor->SendScintilla(QsciScintillaBase::SCI_GETCHARAT,
                                                                           static_cast<unsigned long>(length - 1)))
                                 : '\0';
    Editor->insertBytes(length, lineToAppend(last, line));
}

void TQuilForm1::openFromCommandLine(const QString& path)
{
    const int countBefore = m_documents->count();
    try {
        OpenFileByPath(path);
    } catch (...) {
        recoverFailedOpen(path, countBefore);
    }
}

void TQuilForm1::recoverFailedOpen(const QString& argument, int countBefore)
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

void TQuilForm1::NewBtn1Click()
{
    m_documents->newDocument();
}

void TQuilForm1::NextDocument1Click()
{
    m_documents->nextDocument();
}

void TQuilForm1::PreviousDocument1Click()
{
    m_documents->previousDocument();
}

void TQuilForm1::TabControl1Change(int index)
{
    runCommand([this, index] { m_documents->switchTo(index); });
    // A switch that failed leaves the old document current: the strip must say so too.
    if (TabControl1->tabIndex() != m_documents->tabIndex())
        TabControl1->setTabIndex(m_documents->tabIndex());
}

void TQuilForm1::TabControl1MouseMove()
{
    tabHintChanged(m_documents->currentTabHint());
    showMessage(m_tabHint);
}

void TQuilForm1::EditorKeyDown()
{
    m_documents->editorKeyDown();
}

void TQuilForm1::WordWrapBtn1Click()
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

void TQuilForm1::Exit1Click()
{
    ExitRequested = true;
    close();
}

void TQuilForm1::Show1Click()
{
    // The action has already toggled its check mark.
    StatusBar1->setSizeGrip(m_actions.value(QStringLiteral("Show1"))->isChecked());
}

void TQuilForm1::ChangeStatusBarFont1Click()
{
    if (const auto font = Prompts::current().chooseFont(StatusBar1->font()))
        StatusBar1->setFont(*font);
}

void TQuilForm1::Timer1Timer()
{
    Timer1->stop();
    // Without a notification-area icon a hidden program could not be brought back, so it only
    // goes to the task bar.
    if (trayIconActive())
        hide();
    else
        showMinimized();
}

void TQuilForm1::Timer2Timer()
{
    const qint64 line = Editor->lineFromPosition(Editor->selStart()) + 1;
    const qint64 column = Editor->selLength() + Editor->caretPixelX() / 8 + 1;
    StatusBar1->setPanelText(1, QStringLiteral("%1:%2").arg(line).arg(column));
    StatusBar1->setPanelText(3, Editor->overtype() ? QStringLiteral("OVR") : QStringLiteral("INS"));
    StatusBar1->setPanelText(0, QTime::currentTime().toString(QStringLiteral("hh:mm:ss")));
}

void TQuilForm1::StatusBar1MouseMove(int panel)
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

void TQuilForm1::StatusBar1MouseUp(int panel)
{
    // Panel 0 inserts the time as the Insert Time button; panel 4 (About) acts once it exists.
    if (panel == 0)
        TimeBtn1Click();
    else if (panel == 5)
        WordWrapBtn1Click();
}

void TQuilForm1::StatusBar1Resize()
{
    const int others = StatusBar1->panelWidth(0) + StatusBar1->panelWidth(1) + StatusBar1->panelWidth(2) +
                       StatusBar1->panelWidth(3) + StatusBar1->panelWidth(5);
    StatusBar1->setPanelWidth(4, width() - others - 16);
    if (QProgressBar* progress = StatusBar1->progressBar())
        progress->resize(StatusBar1->panelWidth(4) - 8, progress->height());
}

// --- DocumentHost ----------------------------------------------------------------------------

QString TQuilForm1::createStoreFile()
{
    return platform::createTempFile(QStringLiteral("txt"));
}

qint64 TQuilForm1::editorSelStart() const
{
    return Editor->selStart();
}

void TQuilForm1::editorStash(const QString& storeFile)
{
    m_views->stash(storeFile);
}

void TQuilForm1::editorShow(const QString& storeFile)
{
    m_views->show(storeFile);
}

bool TQuilForm1::editorModifiedFlag() const
{
    return Editor->modifiedFlag();
}

void TQuilForm1::editorClearModifiedFlag()
{
    Editor->clearModifiedFlag();
}

void TQuilForm1::editorSetCaret(qint64 pos)
{
    Editor->setCaret(pos);
}

void TQuilForm1::editorClear()
{
    Editor->clearText();
}

void TQuilForm1::storeFileDropped(const QString& storeFile)
{
    m_views->forget(storeFile);
}

void TQuilForm1::tabRemoved(int index)
{
    TabControl1->removeTab(index);
}

void TQuilForm1::tabAppended(const QString& caption)
{
    TabControl1->appendTab(caption);
}

void TQuilForm1::tabIndexChanged(int index)
{
    TabControl1->setTabIndex(index);
}

void TQuilForm1::tabPictureChanged(int index, int picture)
{
    TabControl1->tabs()->setPicture(index, picture);
}

void TQuilForm1::tabCaptionChanged(int index, const QString& caption)
{
    TabControl1->setCaption(index, caption);
}

void TQuilForm1::statusModifiedChanged(bool modified)
{
    StatusBar1->setPanelText(2, modified ? ModifiedEntry : QString());
}

void TQuilForm1::tabHintChanged(const QString& hint)
{
    m_tabHint = hint;
    TabControl1->tabs()->setToolTip(hint);
    TabControl1->tabs()->setStatusTip(hint);
}

void TQuilForm1::editorHintChanged(const QString& hint)
{
    m_editorHint = hint;
    Editor->setStatusTip(hint);
}

void TQuilForm1::titleDocumentTextChanged(const QString& text)
{
    m_titleDocText = text;
    updateTitle();
}

void TQuilForm1::saveDialogFileNameChanged(const QString& name)
{
    SaveDialog1.fileName = name;
}

void TQuilForm1::documentListChanged(const QStringList& captions, int selected)
{
    // The selector does not exist yet while the command line is processed at creation.
    if (DocSel1)
        DocSel1->setDocuments(captions, selected);
}
