#include "mainwindow/outsidecontroller.h"

#include "core/commanderror.h"
#include "core/prompts.h"
#include "documents/documentset.h"
#include "documents/filesave.h"
#include "editor/editorview.h"
#include "editor/editorviews.h"
#include "mainwindow/filedialogs.h"
#include "mainwindow/programwindows.h"
#include "mainwindow/statusbar.h"
#include "platform/launcher.h"
#include "platform/platform.h"
#include "windows/configurationdialog.h"
#include "windows/optionsdialog.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

struct OutsideController::BuiltInDocument
{
    QString file; // below the program directory
    QString caption;
    QString pathEntry; // a label shown as the document's path, not a file
    QString errorText;
    QString errorTitle;
};

namespace {

const QString HelpFile = QStringLiteral("help/Quillet.html");
const QString BrowserPage = QStringLiteral("Web/Temp.html");

const QString NoBrowserText = QStringLiteral(
    "This file cannot be viewed in your Web Browser because you have not specified the location of your Web "
    "Browser. To do this, simply click the Browse Button next to the Default Browser Edit Box in the Misc section "
    "of the Quillet Options Window.");
const QString NoBrowserTitle = QStringLiteral("Quillet -No Browser Path Specified");
const QString MailErrorText =
    QStringLiteral("There was an error when the document was been sent.\n Please make sure that you have a MAPI "
                   "server installed.");
const QString MailErrorTitle = QStringLiteral("Quillet -E-Mail Document");

const QStringList OutsideHexEditors{QStringLiteral("okteta"), QStringLiteral("ghex"), QStringLiteral("imhex"),
                                    QStringLiteral("bless"), QStringLiteral("wxHexEditor")};

void showMailError()
{
    Prompts::current().warning(MailErrorTitle, MailErrorText);
}

} // namespace

OutsideController::OutsideController(DocumentSet& documents, EditorViews& views, StatusBar& statusBar,
                                     const ProgramWindows& windows, FileDialogs& dialogs)
    : m_documents(documents), m_views(views), m_statusBar(statusBar), m_windows(windows), m_dialogs(dialogs),
      m_desktop(std::make_unique<platform::DesktopLauncher>()), m_launcher(m_desktop.get())
{}

OutsideController::~OutsideController() = default;

void OutsideController::setLauncher(platform::Launcher* launcher)
{
    m_launcher = launcher ? launcher : m_desktop.get();
}

EditorView& OutsideController::editor() const
{
    return *m_views.current();
}

QString OutsideController::programDirectory() const
{
    const QString dir = m_windows.configuration ? m_windows.configuration->programDirectory() : QString();
    return dir.isEmpty() ? platform::programDirectory() : dir;
}

void OutsideController::start(const QString& program, const QStringList& arguments, const QString& what)
{
    if (!m_launcher->startProgram(program, arguments))
        m_statusBar.setMessage(QStringLiteral("%1 \"%2\" could not be started.").arg(what, program));
}

// --- Help and the program's own documents ----------------------------------------------------------

void OutsideController::helpContents()
{
    const QString help = platform::shippedFile(programDirectory(), HelpFile);
    if (!QFileInfo::exists(help)) {
        m_statusBar.setMessage(QStringLiteral("The help file \"%1\" is missing.").arg(QDir::toNativeSeparators(help)));
        return;
    }
    if (!m_launcher->openUrl(QUrl::fromLocalFile(help)))
        m_statusBar.setMessage(QStringLiteral("No program of the desktop opened the help file."));
}

void OutsideController::technicalSupport()
{
    const QString help = platform::shippedFile(programDirectory(), HelpFile);
    if (!QFileInfo::exists(help)) {
        m_statusBar.setMessage(QStringLiteral("The help file \"%1\" is missing.").arg(QDir::toNativeSeparators(help)));
        return;
    }
    QUrl support = QUrl::fromLocalFile(help);
    support.setFragment(QStringLiteral("support"));
    if (!m_launcher->openUrl(support))
        m_statusBar.setMessage(QStringLiteral("No program of the desktop opened the help file."));
}

void OutsideController::openBuiltIn(const BuiltInDocument& document)
{
    m_documents.stashCurrentDocument();
    m_documents.beginDocument(document.caption, document.pathEntry);
    // Whatever fails, the new document stays, with whatever text it got.
    const auto complete = qScopeGuard([this] {
        if (m_documents.isAdding())
            m_documents.completeDocument();
        editor().clearModifiedFlag();
        m_documents.setCurrentModified(false);
        m_documents.refreshTabPictures();
        m_documents.publishHints();
        m_documents.showTitle();
        m_documents.refreshDocumentList();
    });
    bool loaded = true;
    try {
        m_views.loadFile(platform::shippedFile(programDirectory(), document.file));
    } catch (const CommandError&) {
        loaded = false;
    }
    if (!loaded)
        Prompts::current().warning(document.errorTitle, document.errorText);
    editor().setFocus();
}

void OutsideController::readMe()
{
    openBuiltIn({QStringLiteral("Data/Readme.txt"), QStringLiteral("Quillet Readme"), QStringLiteral("Quillet ReadMe"),
                 QStringLiteral("There was error when trying to load the Quillet ReadMe File. \nPlease make sure a "
                                "file named ReadMe.txt is in the QuilletData directory"),
                 QStringLiteral("Quillet -Error Finding ReadMe File")});
}

void OutsideController::whatsNew()
{
    openBuiltIn({QStringLiteral("Data/WhatsNew.txt"), QStringLiteral("Whats' New in Quillet?"),
                 QStringLiteral("What's New?"),
                 QStringLiteral("There was error when trying to load the Quillet What's New Text File. \nPlease make "
                                "sure a file named whatsnew.rtf is in the Quillet directory"),
                 QStringLiteral("Quillet -Error Finding What's New Text File")});
}

void OutsideController::faq()
{
    openBuiltIn({QStringLiteral("Data/QuilFAQ.txt"), QStringLiteral("Quillet Faq"), QStringLiteral("Quillet FAQ"),
                 QStringLiteral("There was error when trying to load the Quillet Frequently Asked Questions File. "
                                "\nPlease make sure a file named QuilFAQ.txt is in the Quillet directory"),
                 QStringLiteral("Error Finding Frequently Asked Questions File")});
}

// --- The web browser ---------------------------------------------------------------------------------

bool OutsideController::browserChecked(const QString& title, const QString& text, QString& browser) const
{
    browser = OptionsDialog::valuesOf(m_windows.options).browser;
    if (!browser.isEmpty())
        return true;
    Prompts::current().warning(title, text);
    return false;
}

void OutsideController::productWebPage()
{
    // The desktop's handler for web addresses, not the configured browser: none needs naming.
    if (!m_launcher->openUrl(QUrl(ProductWebPage)))
        m_statusBar.setMessage(QStringLiteral("No program of the desktop opened %1").arg(ProductWebPage));
}

void OutsideController::viewInBrowser()
{
    QString browser;
    if (!browserChecked(NoBrowserTitle, NoBrowserText, browser))
        return;
    const QString dir = programDirectory();
    QDir().mkdir(dir + QStringLiteral("Web"));
    const QString page = dir + BrowserPage;
    writeTextFile(page, editor().textView(), LineEnds::Crlf);
    start(browser, {page}, QStringLiteral("The web browser"));
}

void OutsideController::openLink()
{
    const EditorView& view = editor();
    const QString selection =
        QString::fromUtf8(view.textView().sliced(view.selStart(), view.selLength()).toByteArray());
    const platform::LinkTarget target = platform::classifyLink(selection);
    if (target.kind == platform::LinkTarget::Nothing)
        return;
    if (target.kind == platform::LinkTarget::Refused) {
        Prompts::current().warning(QStringLiteral("Quillet -Open Link"), target.reason);
        return;
    }
    if (!m_launcher->openUrl(target.url))
        m_statusBar.setMessage(QStringLiteral("No program of the desktop opened \"%1\".").arg(selection.trimmed()));
}

// --- Hex editor, other programs, mail ---------------------------------------------------------------

QString OutsideController::hexEditorProgram() const
{
    for (const QString& own : {QStringLiteral("Hex/HexEdit"), QStringLiteral("Hex/HexEdit.exe")}) {
        const QFileInfo file(programDirectory() + own);
        if (file.isFile() && file.isExecutable())
            return file.filePath();
    }
    return platform::findProgram(OutsideHexEditors);
}

void OutsideController::hexEditor()
{
    const QString program = hexEditorProgram();
    if (program.isEmpty()) {
        m_statusBar.setMessage(QStringLiteral("No hex editor found: put one at %1 or install %2.")
                                   .arg(QDir::toNativeSeparators(programDirectory() + QStringLiteral("Hex/HexEdit")),
                                        OutsideHexEditors.join(QStringLiteral(", "))));
        return;
    }
    start(program, {}, QStringLiteral("The hex editor"));
}

void OutsideController::viewInHexEditor()
{
    // The file on disk is shown, so a document without one has nothing to show.
    if (!m_documents.current().hasFile())
        return;
    const QString program = hexEditorProgram();
    if (program.isEmpty()) {
        hexEditor();
        return;
    }
    start(program, {m_documents.current().path}, QStringLiteral("The hex editor"));
}

void OutsideController::executeFile()
{
    applyFilters(m_windows, m_dialogs);
    FileDialogState& dialog = m_dialogs.open;
    dialog.title = QStringLiteral("Execute File");
    dialog.filter = QStringLiteral("Executables|*.exe|All Files|*.*");
    dialog.defaultExt = QStringLiteral("exe");
    dialog.fileName.clear();
    const QStringList chosen = Prompts::current().openFiles(dialog);
    if (chosen.isEmpty())
        return;
    const QFileInfo file(chosen.first());
    // A program is started; a document goes to its application.
    if (file.isFile() && file.isExecutable())
        start(file.absoluteFilePath(), {}, QStringLiteral("The program"));
    else if (!m_launcher->openUrl(QUrl::fromLocalFile(file.absoluteFilePath())))
        m_statusBar.setMessage(
            QStringLiteral("No program of the desktop opened \"%1\".").arg(QDir::toNativeSeparators(file.filePath())));
}

void OutsideController::mail()
{
    if (!m_launcher->composeMail(editor().textView(), showMailError))
        showMailError();
}
