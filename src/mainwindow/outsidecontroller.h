#pragma once
// What the main window hands to something outside the editor: the help document, the program's
// own texts opened as documents (ReadMe, What's New, FAQ), the product's web page, the current
// document in the web browser, links written in the text, the hex editor, any program or
// document the user picks (Execute File) and the desktop's mail composer. Programs get argument
// lists, never a command line; only Execute File starts a program the user named.

#include <QString>

#include <memory>

class DocumentSet;
class EditorView;
class EditorViews;
class StatusBar;
struct FileDialogs;
struct ProgramWindows;

namespace platform {
class Launcher;
}

class OutsideController
{
public:
    // The address the product web page command opens.
    static inline const QString ProductWebPage = QStringLiteral("https://quillet.example.org/");

    OutsideController(DocumentSet& documents, EditorViews& views, StatusBar& statusBar, const ProgramWindows& windows,
                      FileDialogs& dialogs);
    ~OutsideController();

    void helpContents();
    void technicalSupport();
    void readMe();
    void whatsNew();
    void faq();
    void productWebPage();
    void viewInBrowser();
    void openLink();
    void hexEditor();
    void viewInHexEditor();
    void executeFile();
    void mail();

    // Tests record what would be started instead (not owned; null: the desktop's own again).
    void setLauncher(platform::Launcher* launcher);

private:
    struct BuiltInDocument;
    void openBuiltIn(const BuiltInDocument& document);
    QString programDirectory() const;
    // The web browser path of the options window, or the designed refusal (false) when it is empty.
    bool browserChecked(const QString& title, const QString& text, QString& browser) const;
    // The hex editor: the program's own below its folder, else one found on the PATH.
    QString hexEditorProgram() const;
    void start(const QString& program, const QStringList& arguments, const QString& what);
    EditorView& editor() const;

    DocumentSet& m_documents;
    EditorViews& m_views;
    StatusBar& m_statusBar;
    const ProgramWindows& m_windows;
    FileDialogs& m_dialogs;
    std::unique_ptr<platform::Launcher> m_desktop;
    platform::Launcher* m_launcher;
};
