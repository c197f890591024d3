#include "app/application.h"

#include "app/startup.h"
#include "core/commanderror.h"
#include "core/commandguard.h"
#include "core/pictures.h"
#include "documents/recoveryjournal.h"
#include "editor/designedfonts.h"
#include "mainwindow/mainwindow.h"
#include "platform/termination.h"
#include "platform/userfolders.h"

#include "settings/inisettingsstore.h"
#include "settings/programstore.h"
#include "windows/widgetprompts.h"

#include <QApplication>
#include <QIcon>
#include <QScopeGuard>
#ifndef QT_NO_SESSIONMANAGER
#include <QSessionManager>
#endif

int runQuillet(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    QApplication::setApplicationDisplayName(QString());
    // Desktops match the program's windows to its installed desktop entry by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillet.Quillet"));
    // The project's own picture on every window and its caption strip.
    QApplication::setWindowIcon(ownPicture(QStringLiteral("QuilLogo")));
    QApplication::setOrganizationName(QString());
    // The main window decides when the program ends (closing it may only hide it).
    QApplication::setQuitOnLastWindowClosed(false);
    substituteDesignedFonts();

    WidgetPrompts prompts;
    Prompts::install(&prompts);
    const auto uninstall = qScopeGuard([] { Prompts::install(nullptr); });

    IniSettingsStore store(IniSettingsStore::defaultLocation());
    setProgramStore(&store);

    // Unsaved work outlives the program: the journal is made before any window and kept after.
    RecoveryJournal journal(platform::recoveryFolder(), platform::secondRecoveryFolder());
    if (!journal.start())
        qWarning("Quillet: no recovery copies can be kept in \"%s\"", qPrintable(platform::recoveryFolder()));

    int result = 0;
    ProgramWindows windows;
    const bool created = runCommand([&] { createProgramWindows(windows, app.arguments().mid(1)); });
    if (created) {
        windows.main->enableRecovery(journal);
        // Asked to end from outside, the program keeps every modified document for the next start
        // instead of asking about it.
        const auto endUnasked = [&windows] {
            if (windows.main)
                windows.main->endKeepingUnsavedWork();
        };
        TerminationWatcher termination;
        QObject::connect(&termination, &TerminationWatcher::requested, &app, endUnasked);
#ifndef QT_NO_SESSIONMANAGER
        QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                         [endUnasked](QSessionManager&) { endUnasked(); });
#endif
        runCommand([&] { windows.main->show(); });
        result = app.exec();
    }
    destroyProgramWindows(windows);
    runCommand([&] {
        if (!store.flush())
            throw CommandError(QStringLiteral("The settings could not be saved to \"%1\".").arg(store.fileName()));
    });
    setProgramStore(nullptr);
    return result;
}
