#include "documents/documentset.h"

#include "core/commanderror.h"

#include <QScopeGuard>

QString DocumentSet::currentTabHint() const
{
    if (!hasCurrent())
        return QStringLiteral(" - ");
    const QString hint = current().displayPath() + QStringLiteral(" - ") + current().modifiedWord();
    return current().diskChange.isEmpty() ? hint : hint + QStringLiteral(" - ") + current().diskChange;
}

QString DocumentSet::titleDocumentText() const
{
    return QStringLiteral(" - ") + currentCaption();
}

QStringList DocumentSet::captions() const
{
    QStringList result;
    result.reserve(count());
    for (const Document& document : m_documents)
        result.append(document.caption);
    return result;
}

void DocumentSet::beginDocument(const QString& caption, const QString& path)
{
    m_documents.append(Document{caption, path, {}, 0, false, {}, {}, {}, {}, false, {}});
    m_host.tabAppended(caption);
}

void DocumentSet::completeDocument()
{
    auto undo = qScopeGuard([this] {
        // Without a store file there is no document: the tab just added for it goes.
        if (isAdding()) {
            m_documents.removeLast();
            m_host.tabRemoved(count());
        }
        // The current document was stashed for the new one: it comes back into the editor, so
        // nothing typed next can land in a document that does not exist.
        if (hasCurrent())
            showCurrentDocument();
    });
    const QString storeFile = m_host.createStoreFile();
    undo.dismiss();
    m_documents.last().storeFile = storeFile;
    m_storeFilesMade.append(storeFile);
    m_current = count() - 1;
    m_host.tabIndexChanged(m_current);
    m_host.currentEncodingChanged(current());
}

void DocumentSet::stashCurrentDocument()
{
    if (!hasCurrent())
        return;
    foldEditorChanges();
    m_documents[m_current].caret = m_host.editorSelStart();
    m_host.editorStash(current().storeFile);
}

void DocumentSet::foldEditorChanges()
{
    // The editor's own flag sees every change, however it came (keys, mouse, drop, undo, a
    // command): a document left or closed with one is "Modified", so nothing asks too little.
    if (hasCurrent() && !isAdding() && !current().modified && m_host.editorModifiedFlag())
        setCurrentModified(true);
}

void DocumentSet::showCurrentDocument()
{
    m_host.saveDialogFileNameChanged(currentCaption());
    refreshDocumentList();
    m_host.editorShow(current().storeFile);
    m_host.editorClearModifiedFlag();
    publishHints();
    m_host.statusModifiedChanged(current().modified);
    m_host.editorSetCaret(current().caret);
    showTitle();
}

void DocumentSet::publishHints()
{
    m_host.tabHintChanged(currentTabHint());
    m_host.editorHintChanged(currentDisplayPath());
    if (hasCurrent())
        m_host.currentEncodingChanged(current());
}

void DocumentSet::showTitle()
{
    m_host.titleDocumentTextChanged(titleDocumentText());
}

void DocumentSet::refreshTabPictures()
{
    for (int i = 0; i < count(); ++i)
        m_host.tabModifiedChanged(i, m_documents[i].modified);
}

void DocumentSet::setCurrentModified(bool modified)
{
    if (!hasCurrent())
        return;
    m_documents[m_current].modified = modified;
    m_host.statusModifiedChanged(modified);
    m_host.tabModifiedChanged(m_current, modified);
    m_host.tabHintChanged(currentTabHint());
}

void DocumentSet::setDiskChange(int index, const QString& change)
{
    if (index < 0 || index >= count() || m_documents[index].diskChange == change)
        return;
    m_documents[index].diskChange = change;
    if (index == m_current)
        m_host.tabHintChanged(currentTabHint());
}

void DocumentSet::setModified(int index, bool modified)
{
    if (index == m_current) {
        setCurrentModified(modified);
        return;
    }
    if (index < 0 || index >= count())
        return;
    m_documents[index].modified = modified;
    m_host.tabModifiedChanged(index, modified);
}

void DocumentSet::setCurrentCaret(qint64 pos)
{
    if (hasCurrent())
        m_documents[m_current].caret = pos;
}

void DocumentSet::setCurrentCaption(const QString& caption)
{
    if (!hasCurrent())
        return;
    m_documents[m_current].caption = caption;
    m_host.tabCaptionChanged(m_current, caption);
    refreshDocumentList();
}

void DocumentSet::setCurrentPath(const QString& path)
{
    if (!hasCurrent())
        return;
    m_documents[m_current].path = path;
    m_documents[m_current].notLoadedReason.clear();
    publishHints();
}

void DocumentSet::setCurrentNotLoaded(const QString& reason)
{
    if (!hasCurrent())
        return;
    Document& document = m_documents[m_current];
    document.notLoadedReason = reason;
    // What the document holds is not its file's text.
    if (!reason.isEmpty())
        document.origin = {document.origin.state, std::nullopt, ++m_originGeneration};
}

void DocumentSet::setCurrentEncoding(platform::TextEncoding encoding, const QString& rawBytesNote)
{
    if (!hasCurrent())
        return;
    m_documents[m_current].encoding = encoding;
    m_documents[m_current].rawBytesNote = rawBytesNote;
    m_documents[m_current].nonAsciiAdded = false;
    m_host.currentEncodingChanged(current());
}

void DocumentSet::newDocument()
{
    stashCurrentDocument();
    m_host.statusModifiedChanged(false);
    beginDocument(UntitledName, QString());
    completeDocument();
    // Listed once it is current, so the selector selects it.
    refreshDocumentList();
    refreshTabPictures();
    showTitle();
}

void DocumentSet::nextDocument()
{
    if (m_current >= count() - 1)
        return;
    switchTo(m_current + 1);
}

void DocumentSet::previousDocument()
{
    if (m_current <= 0)
        return;
    switchTo(m_current - 1);
}

void DocumentSet::switchTo(int index)
{
    if (index < 0 || index >= count() || index == m_current)
        return;
    stashCurrentDocument();
    m_current = index;
    m_host.tabIndexChanged(m_current);
    m_host.editorClearModifiedFlag();
    showCurrentDocument();
}

void DocumentSet::editorKeyDown()
{
    if (!hasCurrent())
        return;
    if (current().modified)
        m_host.statusModifiedChanged(true);
    else
        setCurrentModified(m_host.editorModifiedFlag());
}

void DocumentSet::refreshDocumentList(int selected)
{
    m_host.documentListChanged(captions(), selected);
}

void DocumentSet::removeDocument(int index)
{
    const QString storeFile = m_documents.takeAt(index).storeFile;
    if (m_current >= count())
        m_current = count() - 1;
    m_host.tabRemoved(index);
    m_host.storeFileDropped(storeFile);
}

void DocumentSet::resetToBlank()
{
    while (count() > 0)
        removeDocument(count() - 1);
    m_host.editorClearModifiedFlag();
    m_host.statusModifiedChanged(false);
    beginDocument(UntitledName, QString());
    refreshDocumentList(0);
    completeDocument();
    refreshTabPictures();
    m_current = 0;
    m_host.tabIndexChanged(0);
    m_host.editorClear();
    m_host.editorClearModifiedFlag();
    refreshDocumentList();
    m_host.statusModifiedChanged(false);
}

void DocumentSet::closeDocument(const AskQuestion& ask)
{
    foldEditorChanges();
    if (count() == 1) {
        // The only document: a modified one is reset after a Yes; an unmodified one stays.
        if (current().modified && ask(CloseModifiedQuestion) == Answer::Yes)
            resetToBlank();
        m_host.statusModifiedChanged(current().modified);
    } else {
        bool quietly = false;
        bool remove = true;
        if (current().modified) {
            const Answer answer = ask(CloseModifiedQuestion);
            remove = answer == Answer::Yes;
            quietly = answer != Answer::No;
        }
        if (remove) {
            // The closed document's text goes with the editor's content, written nowhere.
            removeDocument(m_current);
            m_current = count() - 1;
            m_host.tabIndexChanged(m_current);
            refreshDocumentList();
            showCurrentDocument();
        }
        if (quietly)
            throw QuietEnd();
    }
    publishHints();
    showTitle();
}

void DocumentSet::closeAll(const AskQuestion& ask)
{
    const Answer answer = ask(CloseAllQuestion);
    if (answer == Answer::Cancel)
        throw QuietEnd();
    if (answer == Answer::No)
        return;
    resetToBlank();
    publishHints();
    showTitle();
}

void DocumentSet::setFileOrigin(int index, const platform::FileState& state, std::optional<LineEnds> lineEnds)
{
    if (index < 0 || index >= count())
        return;
    m_documents[index].origin = {state, lineEnds, ++m_originGeneration};
}
