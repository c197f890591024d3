#pragma once
// The main window: a shell of menus, tool bar, tab strip over the one editor, and status bar,
// built from the command table, and the lifecycle of the program (creation, show, close request,
// close). Its commands live in one controller per area (files, editing, find, text, dates, view,
// ClipBook);
// what the document set decides reaches the screen through DocumentDisplay.

#include "mainwindow/commandregistry.h"
#include "mainwindow/filedialogs.h"
#include "mainwindow/printcontroller.h"
#include "settings/propertycodec.h"
#include "windows/optionsdialog.h"

#include <QByteArray>
#include <QMainWindow>
#include <QStringList>
#include <memory>

class CaptionBar;
class AuxiliaryWindowsController;
class ClipBookController;
class DateController;
class DocumentDisplay;
class DocumentSet;
class DocumentTabs;
class EditController;
class EditorView;
class EditorViews;
class FileController;
class FindController;
class OutsideController;
class QMenu;
class QTimer;
class QToolBar;
class RecentFilesMenu;
class RecoveryController;
class RecoveryJournal;
class SideWindowsController;
class StatusBar;
class TextController;
class TrayController;
class ViewController;
class WindowSettings;
struct ProgramWindows;

class MainWindow : public QMainWindow, public OptionsTarget
{
    Q_OBJECT

public:
    // The window's caption; the title shows it followed by the document text.
    // The product text of the caption strip; the title adds a blank and the document text.
    static inline const QString ProductText = QStringLiteral("Quillet");

    // Runs the creation sequence with the given command-line arguments (without the program).
    // `windows` reaches the other windows as they are created; it must outlive this window.
    explicit MainWindow(ProgramWindows& windows, const QStringList& arguments = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    DocumentSet& documents() { return *m_documents; }
    // The editor: the view of the current document.
    EditorView* editor() const;
    EditorViews* editorViews() const { return m_views; }
    StatusBar* statusPanels() const { return m_statusBar; }
    DocumentTabs* documentTabs() const { return m_tabs; }
    QAction* action(const QString& name) const { return m_commands.action(name); }
    QMenu* contextMenu() const { return m_contextMenu; }
    QMenu* statusMenu() const { return m_statusMenu; }
    QMenu* trayMenu() const { return m_trayMenu; }
    QToolBar* toolBar() const { return m_toolBar; }
    RecentFilesMenu* recentFilesMenu() const { return m_recentFiles; }
    RecentFilesMenu* trayRecentFilesMenu() const { return m_trayRecentFiles; }
    FileDialogs& dialogs() { return m_dialogs; }
    // The scratch buffer: list files, files printed from the command line, inserted files.
    const QByteArray& scratchBuffer() const { return m_scratch; }
    // The window storage: position, recent lists and stored properties in section "Main".
    WindowSettings* windowSettings() const { return m_storage; }

    // The command areas.
    FileController& files() { return *m_files; }
    EditController& editing() { return *m_editing; }
    FindController& find() { return *m_find; }
    TextController& text() { return *m_text; }
    DateController& dates() { return *m_dates; }
    ViewController& view() { return *m_view; }
    ClipBookController& clipBook() { return *m_clipBook; }
    PrintController& printing() { return *m_print; }
    OutsideController& outside() { return *m_outside; }
    AuxiliaryWindowsController& auxiliaryWindows() { return *m_auxiliaryWindows; }
    SideWindowsController& sideWindows() { return *m_sideWindows; }
    TrayController& tray() { return *m_tray; }

    // Exit: the close that asks about modified documents and then ends the program.
    void requestExit();
    // Keeps recovery copies of modified documents in `journal` (which must outlive the window)
    // and opens again, as modified documents, what it holds from runs that ended unsaved.
    void enableRecovery(RecoveryJournal& journal);
    RecoveryController* recovery() const { return m_recovery.get(); }
    // Ends the program without questions, every modified document kept for recovery: the way
    // out when the system asks (a termination signal, the end of the session).
    void endKeepingUnsavedWork();
    bool exitRequested() const { return m_exitRequested; }
    // Whether the notification-area icon is active (closing then only hides the window).
    bool trayIconActive() const;

    // The document text painted after the caption (" - " and the tab caption).
    QString titleDocumentText() const { return m_titleDocText; }
    QString tabHint() const;
    QString editorHint() const;
    // The message panel of the status bar.
    void showMessage(const QString& text);

    // What the options window's OK and buttons change here.
    void setStayOnTop(bool on) override;
    void setSettingsAutoSave(bool on) override;
    void setAutoSave(bool on) override;
    void setTrayIcon(bool on) override;
    void setToolBarShown(bool on) override;
    void setShowFileNameInTitle(bool show) override;
    void setDropEnabled(bool enabled) override;
    void turnWordWrapOn() override;
    OptionsDialogs fileDialogs() override;
    void setEditorFont(const QFont& font) override;
    void setPageColour(qint32 stored) override;
    void setTextColour(qint32 stored) override;
    bool autoSaveRunning() const;
    bool dropEnabled() const;

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createCommands();
    void createTimers();
    void connectSignals();
    void createStorage();
    EditorView* makeEditorView(QWidget* parent);
    void collectProgramKeys();
    void processCommandLine(const QStringList& arguments);
    void updateTitle();
    void tabChosen(int index);
    void goToTray();
    // The recovery copies cannot be written: said on the status bar, and once in a message.
    void recoveryCopiesFailing(const QString& reason);
    // Asks what a file whose write in place a run never finished should hold.
    void offerInterruptedSaves();

    void onCreate(const QStringList& arguments);
    void onShow();
    bool canClose();
    void onClose();

    ProgramWindows& m_windows;
    CommandRegistry m_commands;
    FileDialogs m_dialogs;
    QByteArray m_scratch;
    std::unique_ptr<DocumentDisplay> m_display;
    std::unique_ptr<DocumentSet> m_documents;
    std::unique_ptr<DateController> m_dates;
    std::unique_ptr<FileController> m_files;
    std::unique_ptr<EditController> m_editing;
    std::unique_ptr<FindController> m_find;
    std::unique_ptr<TextController> m_text;
    std::unique_ptr<ViewController> m_view;
    std::unique_ptr<RecoveryController> m_recovery;
    std::unique_ptr<ClipBookController> m_clipBook;
    std::unique_ptr<PrintController> m_print;
    std::unique_ptr<OutsideController> m_outside;
    std::unique_ptr<AuxiliaryWindowsController> m_auxiliaryWindows;
    std::unique_ptr<SideWindowsController> m_sideWindows;
    std::unique_ptr<TrayController> m_tray;

    DocumentTabs* m_tabs = nullptr;
    EditorViews* m_views = nullptr;
    StatusBar* m_statusBar = nullptr;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_contextMenu = nullptr;
    QMenu* m_statusMenu = nullptr;
    QMenu* m_trayMenu = nullptr;
    RecentFilesMenu* m_recentFiles = nullptr;
    RecentFilesMenu* m_trayRecentFiles = nullptr;
    WindowSettings* m_storage = nullptr;
    CaptionBar* m_captionBar = nullptr;
    QTimer* m_miniTrayTimer = nullptr;
    QTimer* m_statusTimer = nullptr;
    QTimer* m_autoSaveTimer = nullptr;
    QList<int> m_programKeys;

    // Values kept for dialogs and components that later features show.
    PropertyCodec::StoredFont m_fontDialogFont;
    PageSetupValues m_pageSetup;
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

    bool m_exitRequested = false;
    bool m_closed = false;
    bool m_endingUnasked = false;
    bool m_closing = false; // a close request is being answered
    bool m_recoveryFailureTold = false;
    bool m_showFileName = true;
    QString m_titleDocText;
};
