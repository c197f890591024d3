#include "app/programwindows.h"

#include "mainwindow/mainwindow.h"
#include "windows/clipbookwindow.h"
#include "windows/templatenamedialog.h"
#include "windows/gotolinedialog.h"
#include "windows/configurationdialog.h"
#include "windows/utilityoptionsdialog.h"
#include "windows/optionsdialog.h"
#include "windows/aboutwindow.h"
#include "windows/documentselector.h"
#include "windows/tipwindow.h"

void createForms(const QStringList& arguments)
{
    QuilForm1 = new MainWindow(arguments);
    // Each window restores itself as it is created.
    attachStorage((TipForm1 = new TipOfTheDayWindow)->FormStorage1);
    attachStorage((QuilletOp = new OptionsDialog)->FormStorage1);
    attachStorage((Config1 = new ConfigurationDialog)->FormStorage1);
    attachStorage((MiscOp1 = new UtilityOptionsDialog)->FormStorage1);
    attachStorage((ClipBook = new ClipBookWindow)->FormStorage1);
    attachStorage((DocSel1 = new DocumentSelector)->FormStorage1);
    attachStorage((RenameTempForm1 = new TemplateNameDialog)->FormStorage1);
    attachStorage((AboutQuillet = new AboutWindow)->FormStorage1);
    attachStorage((ScrollBox1 = new GotoLineDialog)->FormStorage1);
    QuilletOp->setTarget(QuilForm1);
    // The selector did not exist while the command line was opened.
    QuilForm1->documents().refreshDocumentList();
}

namespace {
template <typename T> void destroy(T*& form)
{
    delete form;
    form = nullptr;
}
} // namespace

void destroyForms()
{
    destroy(ScrollBox1);
    destroy(AboutQuillet);
    destroy(RenameTempForm1);
    destroy(DocSel1);
    destroy(ClipBook);
    destroy(MiscOp1);
    destroy(Config1);
    destroy(QuilletOp);
    destroy(TipForm1);
    destroy(QuilForm1);
}
