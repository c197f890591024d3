#include "app/forms.h"

#include "app/quilform1.h"
#include "clipbook/clipbook.h"
#include "clipbook/renametempform1.h"
#include "commands/scrollbox1.h"
#include "settings/config1.h"
#include "settings/miscop1.h"
#include "settings/quilletop.h"
#include "windows/aboutquillet.h"
#include "windows/docsel1.h"
#include "windows/tipform1.h"

void createForms(const QStringList& arguments)
{
    QuilForm1 = new TQuilForm1(arguments);
    // Each window restores itself as it is created.
    attachStorage((TipForm1 = new TTipForm1)->FormStorage1);
    attachStorage((QuilletOp = new TQuilletOp)->FormStorage1);
    attachStorage((Config1 = new TConfig1)->FormStorage1);
    attachStorage((MiscOp1 = new TMiscOp1)->FormStorage1);
    attachStorage((ClipBook = new TClipBook)->FormStorage1);
    attachStorage((DocSel1 = new TDocSel1)->FormStorage1);
    attachStorage((RenameTempForm1 = new TRenameTempForm1)->FormStorage1);
    attachStorage((AboutQuillet = new TAboutQuillet)->FormStorage1);
    attachStorage((ScrollBox1 = new TScrollBox1)->FormStorage1);
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
