#pragma once
// The real main window in a sandbox, for the tests that drive it as a user does. TMPDIR and the
// working directory are a temporary folder (store files and relative saves land there), backups
// go to its "program/" folder, every dialog is scripted, and saves do not pause between steps.
// A test makes one fixture per case: everything goes with it.

#include "documents/documentset.h"
#include "editor/editorview.h"
#include "mainwindow/documenttabs.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/programwindows.h"
#include "mainwindow/statusbar.h"
#include "support/documentcolumns.h"
#include "support/sandbox.h"
#include "support/scriptedprompts.h"
#include "windows/configurationdialog.h"
#include "windows/optionsdialog.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <memory>

class MainWindowFixture
{
public:
    Sandbox sandbox;
    ScopedPrompts prompts;
    ProgramWindows windows;
    std::unique_ptr<ConfigurationDialog> configuration;
    std::unique_ptr<OptionsDialog> options; // only when a test asks for it
    std::unique_ptr<MainWindow> window;
    const QString programDir = sandbox.filePath(QStringLiteral("program")) + QLatin1Char('/');

    MainWindowFixture()
    {
        StatusBar::StepPauseMs = 0;
        QDir().mkpath(programDir);
        configuration = std::make_unique<ConfigurationDialog>();
        windows.configuration = configuration.get();
    }
    ~MainWindowFixture()
    {
        window.reset();
        if (options)
            options.reset();
    }
    MainWindowFixture(const MainWindowFixture&) = delete;
    MainWindowFixture& operator=(const MainWindowFixture&) = delete;

    // Creates the main window with these arguments, without showing it.
    MainWindow& create(const QStringList& arguments = {})
    {
        window = std::make_unique<MainWindow>(windows, arguments);
        windows.main = window.get();
        return *window;
    }
    // Creates, shows and activates the main window; showing sets the program directory, so it
    // is pointed at the sandbox again afterwards.
    bool start(const QStringList& arguments = {})
    {
        create(arguments);
        window->show();
        window->activateWindow();
        const bool active = QTest::qWaitForWindowActive(window.get());
        configuration->setProgramDirectory(programDir);
        return active;
    }
    // The options window, linked to the main window as at start.
    OptionsDialog& withOptions()
    {
        options = std::make_unique<OptionsDialog>();
        windows.options = options.get();
        if (window)
            options->setTarget(window.get());
        return *options;
    }

    DocumentSet& docs() { return window->documents(); }
    EditorView* editor() { return window->editor(); }
    StatusBar* status() { return window->statusPanels(); }
    QAction* action(const char* name) { return window->action(QLatin1String(name)); }
    bool currentModified() { return docs().isModified(docs().currentIndex()); }

    // A file below the sandbox's "files/" folder, apart from the store files.
    QString makeFile(const QString& relative, const QByteArray& bytes)
    {
        const QString path = sandbox.filePath(QStringLiteral("files/") + relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return path;
    }
    void select(qint64 from, qint64 to)
    {
        editor()->send(SCI_SETSEL, static_cast<unsigned long>(from), static_cast<long>(to));
    }
    // Types at the end of the text. Two keys or more mark an unmodified document modified.
    void typeAtEnd(const char* keys)
    {
        editor()->setCaret(editor()->textLength());
        QTest::keyClicks(editor(), QLatin1String(keys));
    }
    void clickTab(int index)
    {
        DocumentTabBar* tabs = window->documentTabs()->tabs();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }
};

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

// The base of the suites that drive the main window: one fixture per test case (made by
// newFixture() in init(), dropped in cleanup()) and short names for what the tests use most.
class MainWindowTest : public QObject
{
protected:
    std::unique_ptr<MainWindowFixture> m_fixture;

    void newFixture() { m_fixture = std::make_unique<MainWindowFixture>(); }
    bool start(const QStringList& arguments = {}) { return m_fixture->start(arguments); }
    MainWindow* form() { return m_fixture->window.get(); }
    ScriptedPrompts& prompts() { return m_fixture->prompts; }
    DocumentSet& docs() { return m_fixture->docs(); }
    EditorView* editor() { return m_fixture->editor(); }
    StatusBar* status() { return m_fixture->status(); }
    QAction* action(const char* name) { return m_fixture->action(name); }
    QString makeFile(const QString& relative, const QByteArray& bytes) { return m_fixture->makeFile(relative, bytes); }
    void select(qint64 from, qint64 to) { m_fixture->select(from, to); }
    void typeAtEnd(const char* keys) { m_fixture->typeAtEnd(keys); }
    void clickTab(int index) { m_fixture->clickTab(index); }
};
