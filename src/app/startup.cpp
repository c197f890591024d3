#include "app/startup.h"

#include "documents/documentset.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/sidewindowscontroller.h"
#include "windows/aboutwindow.h"
#include "windows/clipbookwindow.h"
#include "windows/configurationdialog.h"
#include "windows/documentselector.h"
#include "windows/gotolinedialog.h"
#include "windows/optionsdialog.h"
#include "windows/templatenamedialog.h"
#include "windows/tipwindow.h"
#include "windows/utilityoptionsdialog.h"

#include <QAction>

namespace {

// Makes one window and has it restore itself from the settings.
template <typename Window> Window* create(QWidget* parent = nullptr)
{
    auto* window = new Window(parent);
    attachStorage(window->storage());
    return window;
}

template <typename Window> void destroy(Window*& window)
{
    destroyWindow(window);
    window = nullptr;
}

// The About window's links go where the Help menu's commands go.
void connectAboutWindow(const ProgramWindows& windows)
{
    AboutWindow* about = windows.about;
    MainWindow* main = windows.main;
    TipOfTheDayWindow* tips = windows.tips;
    QObject::connect(about, &AboutWindow::tipOfTheDayRequested, tips, &TipOfTheDayWindow::showTip);
    QObject::connect(about, &AboutWindow::faqRequested, main,
                     [main] { main->action(QStringLiteral("QuilletFAQ1"))->trigger(); });
    QObject::connect(about, &AboutWindow::webSiteRequested, main,
                     [main] { main->action(QStringLiteral("QuilletontheWeb1"))->trigger(); });
    QObject::connect(about, &AboutWindow::closedToMainWindow, main, [main] {
        main->show();
        main->raise();
        main->activateWindow();
    });
}

} // namespace

void createProgramWindows(ProgramWindows& windows, const QStringList& arguments)
{
    windows.main = new MainWindow(windows, arguments);
    windows.tips = create<TipOfTheDayWindow>();
    windows.options = create<OptionsDialog>();
    windows.configuration = create<ConfigurationDialog>();
    windows.utilityOptions = create<UtilityOptionsDialog>();
    // The ClipBook floats above the main window, as a tool window of it: clicking into the text
    // must not bury it.
    windows.clipBook = create<ClipBookWindow>(windows.main);
    windows.documentSelector = create<DocumentSelector>(windows.main);
    windows.documentSelector->setHost(&windows.main->sideWindows());
    windows.utilityOptions->setTargets(windows.clipBook, windows.documentSelector);
    windows.templateName = create<TemplateNameDialog>();
    windows.about = create<AboutWindow>();
    windows.gotoLine = create<GotoLineDialog>();
    windows.options->setTarget(windows.main);
    connectAboutWindow(windows);
    // The selector did not exist while the command line was opened.
    windows.main->documents().refreshDocumentList();
}

void destroyProgramWindows(ProgramWindows& windows)
{
    destroy(windows.gotoLine);
    destroy(windows.about);
    destroy(windows.templateName);
    destroy(windows.documentSelector);
    destroy(windows.clipBook);
    destroy(windows.utilityOptions);
    destroy(windows.configuration);
    destroy(windows.options);
    destroy(windows.tips);
    destroy(windows.main);
}
