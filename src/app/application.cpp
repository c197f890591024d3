#include "app/application.h"

#include "app/startup.h"
#include "core/commanderror.h"
#include "core/commandguard.h"
#include "editor/designedfonts.h"
#include "mainwindow/mainwindow.h"

#include "settings/inisettingsstore.h"
#include "settings/programstore.h"
#include "windows/widgetprompts.h"

#include <QApplication>
#include <QScopeGuard>

int runQuillet(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    QApplication::setApplicationDisplayName(QString());
    QApplication::setOrganizationName(QString());
    // The main window decides when the program ends (closing it may only hide it).
    QApplication::setQuitOnLastWindowClosed(false);
    substituteDesignedFonts();

    WidgetPrompts prompts;
    Prompts::install(&prompts);
    const auto uninstall = qScopeGuard([] { Prompts::install(nullptr); });

    IniSettingsStore store(IniSettingsStore::defaultLocation());
    setProgramStore(&store);

    int result = 0;
    ProgramWindows windows;
    const bool created = runCommand([&] { createProgramWindows(windows, app.arguments().mid(1)); });
    if (created) {
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
