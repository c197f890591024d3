// Opening a file by path: the one routine every way of opening a file ends in.

#include "app/commanderror.h"
#include "app/quilform1.h"
#include "documents/editorviews.h"
#include "documents/richexporter.h"
#include "platform/platform.h"

#include <QCoreApplication>
#include <QFileInfo>

void TQuilForm1::OpenFileByPath(const QString& path)
{
    m_documents->stashCurrentDocument();
    m_documents->appendEntry(QFileInfo(path).fileName(), path);
    try {
        m_views->loadFile(path);
    } catch (const CommandError&) {
        // An unreadable file still becomes a document under its name; saving it creates it.
        platform::beep();
    }
    Editor->clearModifiedFlag();
    m_documents->addDocumentSlot();
    m_documents->setCurrentModifiedEntry(NotModifiedEntry);
    m_documents->refreshTabPictures();
    saveDialogFileNameChanged(path);
    statusModifiedChanged(false);
    addRecent(path);
    tabHintChanged(m_documents->currentTabHint());
    editorHintChanged(path);
    titleDocumentTextChanged(m_documents->titleDocumentText());
    QCoreApplication::processEvents();
    Editor->setFocus();
}
