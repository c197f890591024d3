#pragma once
// The main window: menus, tool bar, tab strip over the one editor, status bar, and the
// lifecycle of the program (creation, show, close request, close). The document set it carries
// lives in DocumentSet; the window implements DocumentHost to show what the set decides.

#include "core/filedialogstate.h"
#include "documents/documentset.h"
#include "settings/propertycodec.h"
#include "windows/optionsdialog.h"

#include <QByteArray>
#include <QHash>
#include <QMainWindow>
#include <QSet>
#include <QStringList>
#include <functional>
#include <memory>

class EditorViews;
class QMenu;
class QTimer;
class QToolBar;
class DocumentTabs;
class FindDialog;
class ReplaceDialog;
class RecentFilesMenu;
class WindowSettings;
class EditorView;
class StatusBar;

class MainWindow : public QMainWindow, public DocumentHost, public OptionsTarget
{
    Q_OBJECT

public:
    // The window's caption; the title shows it followed by the document text.
    static inline const QString Caption = QStringLiteral("Quillet ");

    // Runs the creation sequence with the given command-line arguments (without the program).
    explicit MainWindow(const QStringList& arguments = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    DocumentSet& documents() { return *m_documents; }
    // The editor: the view of the current document.
    EditorView* editor() const { return Editor; }
    EditorViews* editorViews() const { return m_views; }
    StatusBar* statusBar1() const { return StatusBar1; }
    DocumentTabs* tabControl() const { return TabControl1; }
    QAction* action(const QString& name) const { return m_actions.value(name); }
    QMenu* popupMenu() const { return PopupMenu1; }
    QMenu* statusMenu() const { return StatusMenu3; }
    QToolBar* toolBar() const { return ToolBar1; }
    const QByteArray& scratchBuffer() const { return TextBox1; }

    bool exitRequested() const { return ExitRequested; }
    bool clipBookWasVisible() const { return ClipBookWasVisible; }
    bool docSelWasVisible() const { return DocSelWasVisible; }
    // Whether the notification-area icon is active (closing then only hides the window).
    bool trayIconActive() const { return m_trayActive; }

    // The document text painted after the caption (" - " and the tab caption).
    QString titleDocumentText() const { return m_titleDocText; }
    void setShowFileNameInTitle(bool show) override;

    // Status panel 4.
    void showMessage(const QString& text);

    // Opens one file as a new, current document; never fails towards its caller.
    void OpenFileByPath(const QString& path);
    // A document whose first line is exactly ".LOG" gets a time-stamp line appended.
    void LogStampCheck();
    // The pattern of date-time stamps: set by each insertion command, used by the ".LOG" stamp.
    QString stampFormat() const { return m_stampFormat; }
    void setStampFormat(const QString& pattern) { m_stampFormat = pattern; }
    // Date-time stamps (src/commands/datecommands.cpp) and word count (src/commands/wordcount.cpp).
    void DateTimeFilter1Click();
    void TimeBtn1Click();
    void ShortDateAndTime1Click();
    void ShortDate1Click();
    void ShortTime1Click();
    void LongDate1Click();
    void LongTime1Click();
    void LongDateAndTime1Click();
    void WordCount1Click();

    // Pause after each progress step of a save, in milliseconds (benchmarks set 0).
    static inline int StepPauseMs = 20;
    // Whether a backup copy is written after each save.
    bool makeBackups() const;
    // Whether files dropped on the editor are opened.
    bool dropEnabled() const;
    void setDropEnabled(bool enabled) override;

    // What the options window's OK and buttons change here.
    void setStayOnTop(bool on) override;
    void setSettingsAutoSave(bool on) override;
    void setAutoSave(bool on) override;
    void setTrayIcon(bool on) override;
    void setToolBarShown(bool on) override;
    void turnWordWrapOn() override;
    OptionsDialogs fileDialogs() override;
    void setEditorFont(const QFont& font) override;
    void setPageColour(qint32 stored) override;
    void setTextColour(qint32 stored) override;
    bool autoSaveRunning() const;

    // Selection and document transforms.
    void Con1Click();
    void ConverttoLowercase1Click();
    void Reverse1Click();
    void TabsSpaces1Click();
    void OEMANSI1Click();
    void ANSIOEM1Click();
    void AdjustLineBreaks1Click();

    // Options commands.
    void Preferences1Click();
    void Properties1Click();
    // The options window rebuilds the file dialogs' filters before each file command.
    void applyFilters();

    // File commands.
    void OpenBtn1Click();
    void SaveBtn1Click();
    void SaveAsBtn1Click();
    void SaveAll1Click();
    void SaveAllDocuments();
    void CreateBackup(const QString& path);
    void CloseDocBtn1Click();
    void CloseAll1Click();
    void RefreshFromDisk1Click();
    void DropFile1DropFile(const QString& path);
    // Asks about every modified document before the program ends; false when the user cancelled.
    bool ExitSavePass();

    // Editing commands.
    void UndoBtn1Click();
    void CutBtn1Click();
    void CopyBtn1Click();
    void PasteBtn1Click();
    void Delete1Click();
    void ClearAll1Click();
    void SelectAll1Click();
    void CopyAll1Click();
    void FontBtn1Click();
    void EditorSelectionChange();

    // Export with UNIX or MAC line endings, insert a file, save or append the selection
    // (src/commands/selectionfiles.cpp).
    void UNIXLFOnly1Click();
    void MACCRonly1Click();
    void InsertFile1Click();
    void SaveSelection1Click();
    void AppendSelectiontoFile1Click();

    // Find, replace, goto line (src/commands/findcommands.cpp).
    void FindBtn1Click();
    void ReplaceBtn1Click();
    void SearchAgain1Click();
    void GotoBtn1Click();
    void FindDialog1Find();
    void ReplaceDialog1Find();
    void ReplaceDialog1Replace(bool all);
    // The two modeless dialogs, made on first use and kept as long as the window.
    FindDialog* findDialog1();
    ReplaceDialog* replaceDialog1();

private:
    void findNextWith(const FindDialog& dialog);
    FindDialog* FindDialog1 = nullptr;
    ReplaceDialog* ReplaceDialog1 = nullptr;

public:
    // Recent files.
    void MRUManager2Click(const QString& path);
    void RemoveAll1Click();
    RecentFilesMenu* mruManager1() const { return MRUManager1; }
    RecentFilesMenu* mruManager2() const { return MRUManager2; }
    QMenu* trayMenu() const { return PopupMenu2; }

    // The window storage: position, recent lists and stored properties in section "Main".
    WindowSettings* formStorage() const { return FormStorage1; }
    FileDialogState& insertDialog() { return InsertDialog1; }
    FileDialogState& saveSelectionDialog() { return SaveDialog2; }
    QString findText() const { return m_findText; }
    void setFindText(const QString& text) { m_findText = text; }

    // Commands and handlers.
    void NewBtn1Click();
    void NextDocument1Click();
    void PreviousDocument1Click();
    void WordWrapBtn1Click();
    void Exit1Click();
    void Show1Click();
    void ChangeStatusBarFont1Click();
    void Timer1Timer();
    void Timer2Timer();
    void StatusBar1MouseMove(int panel);
    void StatusBar1MouseUp(int panel);
    void StatusBar1Resize();
    void TabControl1Change(int index);
    void TabControl1MouseMove();
    void EditorKeyDown();

    // DocumentHost
    QString createStoreFile() override;
    qint64 editorSelStart() const override;
    void editorStash(const QString& storeFile) override;
    void editorShow(const QString& storeFile) override;
    bool editorModifiedFlag() const override;
    void editorClearModifiedFlag() override;
    void editorSetCaret(qint64 pos) override;
    void editorClear() override;
    void storeFileDropped(const QString& storeFile) override;
    void tabAppended(const QString& caption) override;
    void tabIndexChanged(int index) override;
    void tabPictureChanged(int index, int picture) override;
    void tabCaptionChanged(int index, const QString& caption) override;
    void tabRemoved(int index) override;
    void statusModifiedChanged(bool modified) override;
    void tabHintChanged(const QString& hint) override;
    void editorHintChanged(const QString& hint) override;
    void titleDocumentTextChanged(const QString& text) override;
    void saveDialogFileNameChanged(const QString& name) override;
    void documentListChanged(const QStringList& captions, int selected) override;

    QString saveDialogFileName() const { return SaveDialog1.fileName; }
    FileDialogState& openDialog() { return OpenDialog1; }
    FileDialogState& saveDialog() { return SaveDialog1; }
    QString tabHint() const { return m_tabHint; }
    QString editorHint() const { return m_editorHint; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate(const QStringList& arguments);
    void FormShow();
    bool FormCloseQuery();
    void FormClose();

    void createActions();
    void createMenus();
    void createToolBar();
    void createPopupMenus();
    void createRecentLists();
    void createFormStorage();
    QAction* makeAction(const QString& name, const QString& caption, const QString& shortcut, const QString& hint);
    void bind(const QString& name, void (MainWindow::*handler)());
    bool isBound(const QString& name) const { return m_bound.contains(name); }
    Answer ask(const QString& text);
    void progressStep(int position);
    void showProgress();
    void hideProgress();
    // Transforms write back the selection (caret after it) or the whole text (caret at the start).
    void transformSelection(const std::function<QByteArray(QByteArrayView)>& transform, bool markModified);
    void transformDocument(const std::function<QByteArray(QByteArrayView)>& transform);
    // Save and Save As; false when the user cancelled the dialog.
    bool saveCurrent();
    bool saveCurrentAs();
    void failedSave();

public:
    // Adds a path to the top of both recent-file lists.
    void addRecent(const QString& path);

private:
    void collectProgramKeys();
    EditorView* makeEditorView(QWidget* parent);

    void processCommandLine(const QStringList& arguments);
    void openListedFiles(const QString& listFile);
    void appendTimeStamp();
    // Appends `line` as a new last line of the editor's text (an undoable edit).
    void appendLine(const QByteArray& line);
    void openFromCommandLine(const QString& path);
    void recoverFailedOpen(const QString& argument, int countBefore);
    void updateTitle();

    std::unique_ptr<DocumentSet> m_documents;
    EditorViews* m_views = nullptr;
    QList<int> m_programKeys;
    QHash<QString, QAction*> m_actions;
    QSet<QString> m_bound;
    FileDialogState OpenDialog1;
    FileDialogState SaveDialog1;
    FileDialogState SaveDialog2;
    FileDialogState InsertDialog1;
    WindowSettings* FormStorage1 = nullptr;
    // Values kept for dialogs and components that later features show.
    QString m_findText;
    PropertyCodec::StoredFont m_fontDialogFont;
    struct PageSetup
    {
        int paperX = 0, paperY = 0;
        int measurements = 0; // pmDefault
        int marginLeft = 0, marginRight = 0, marginTop = 0, marginBottom = 0;
        bool centered = false;
    } m_pageSetup;
    int m_toolBarAlignment = 2; // taCenter
    qint32 m_toolBarColor = PropertyCodec::SysColorBtnFace;
    bool m_trayIconProperty = true;
    struct CaptionText
    {
        qint32 colorActive = qint32(0x80000009);   // caption text
        qint32 colorInactive = qint32(0x80000013); // inactive caption text
        PropertyCodec::StoredFont font;
        QString fontKind = QStringLiteral("fkCaption");
    } m_captionText;
    DocumentTabs* TabControl1 = nullptr;
    EditorView* Editor = nullptr;
    StatusBar* StatusBar1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QMenu* StatusMenu3 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    RecentFilesMenu* MRUManager1 = nullptr;
    RecentFilesMenu* MRUManager2 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* AutoSave1 = nullptr;
    // The scratch buffer: command-line list files and files printed from the command line.
    QByteArray TextBox1;

    bool ExitRequested = false;
    bool ClipBookWasVisible = false;
    bool DocSelWasVisible = false;
    bool m_trayActive = false;
    bool m_closed = false;
    bool m_showFileName = true;
    QString m_titleDocText;
    QString m_stampFormat;
    bool m_savingAll = false;
    bool m_undoToggled = false;
    QString m_tabHint;
    QString m_editorHint;
    QString m_statusHint;
};

extern MainWindow* QuilForm1;
