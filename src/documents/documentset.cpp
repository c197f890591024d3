#include "documents/documentset.h"

#include "core/commanderror.h"

QString DocumentSet::currentTabHint() const
{
    return m_fileList.value(m_tabIndex) + QStringLiteral(" - ") + m_modified.value(m_tabIndex);
}

QString DocumentSet::titleDocumentText() const
{
    return QStringLiteral(" - ") + currentCaption();
}

void DocumentSet::appendEntry(const QString& caption, const QString& path)
{
    m_captions.append(caption);
    m_fileList.append(path);
    m_host.tabAppended(caption);
}

void DocumentSet::addDocumentSlot()
{
    QString storeFile;
    try {
        storeFile = m_host.createStoreFile();
    } catch (...) {
        // Without a store file there is no document: the entries just appended for it go, so
        // every list still has one entry per tab.
        if (m_captions.size() > m_storeFiles.size()) {
            m_captions.removeLast();
            m_fileList.removeLast();
            m_host.tabRemoved(count());
        }
        // The current document was stashed for the new one: it comes back into the editor, so
        // nothing typed next can land in a document that does not exist.
        if (m_tabIndex >= 0 && m_tabIndex < count())
            showCurrentDocument();
        throw;
    }
    m_storeFiles.append(storeFile);
    m_tempRegister.append(storeFile);
    m_positions.append(QStringLiteral("0"));
    m_modified.append(NotModifiedEntry);
    m_tabIndex = count() - 1;
    m_host.tabIndexChanged(m_tabIndex);
}

void DocumentSet::stashCurrentDocument()
{
    if (m_tabIndex < 0 || m_tabIndex >= count())
        return;
    m_positions[m_tabIndex] = QString::number(m_host.editorSelStart());
    m_host.editorStash(m_storeFiles[m_tabIndex]);
}

void DocumentSet::showCurrentDocument()
{
    m_host.saveDialogFileNameChanged(currentCaption());
    refreshDocumentList();
    m_host.editorShow(m_storeFiles[m_tabIndex]);
    m_host.editorClearModifiedFlag();
    publishHints();
    m_host.statusModifiedChanged(isModified(m_tabIndex));
    m_host.editorSetCaret(m_positions[m_tabIndex].toLongLong());
    m_host.titleDocumentTextChanged(titleDocumentText());
}

void DocumentSet::publishHints()
{
    m_host.tabHintChanged(currentTabHint());
    m_host.editorHintChanged(currentFile());
}

void DocumentSet::refreshTabPictures()
{
    for (int i = 0; i < count(); ++i)
        m_host.tabPictureChanged(i, isModified(i) ? 1 : 0);
}

void DocumentSet::markCurrentModified()
{
    setCurrentModifiedEntry(ModifiedEntry);
    m_host.statusModifiedChanged(true);
    refreshTabPictures();
}

void DocumentSet::setCurrentModifiedEntry(const QString& entry)
{
    if (m_tabIndex >= 0 && m_tabIndex < count())
        m_modified[m_tabIndex] = entry;
}

void DocumentSet::setCurrentPosition(qint64 pos)
{
    if (m_tabIndex >= 0 && m_tabIndex < count())
        m_positions[m_tabIndex] = QString::number(pos);
}

void DocumentSet::setCurrentCaption(const QString& caption)
{
    if (m_tabIndex < 0 || m_tabIndex >= count())
        return;
    m_captions[m_tabIndex] = caption;
    m_host.tabCaptionChanged(m_tabIndex, caption);
}

void DocumentSet::setCurrentFile(const QString& path)
{
    if (m_tabIndex >= 0 && m_tabIndex < count())
        m_fileList[m_tabIndex] = path;
}

void DocumentSet::newDocument()
{
    stashCurrentDocument();
    m_host.statusModifiedChanged(false);
    appendEntry(UntitledName, UntitledName);
    refreshDocumentList(m_tabIndex);
    addDocumentSlot();
    refreshTabPictures();
    m_host.titleDocumentTextChanged(titleDocumentText());
}

void DocumentSet::nextDocument()
{
    if (m_tabIndex >= count() - 1)
        return;
    switchTo(m_tabIndex + 1);
}

void DocumentSet::previousDocument()
{
    if (m_tabIndex <= 0)
        return;
    switchTo(m_tabIndex - 1);
}

void DocumentSet::switchTo(int index)
{
    if (index < 0 || index >= count() || index == m_tabIndex)
        return;
    stashCurrentDocument();
    m_tabIndex = index;
    m_host.tabIndexChanged(m_tabIndex);
    m_host.editorClearModifiedFlag();
    showCurrentDocument();
}

void DocumentSet::editorKeyDown()
{
    if (isModified(m_tabIndex)) {
        m_host.statusModifiedChanged(true);
    } else if (m_host.editorModifiedFlag()) {
        setCurrentModifiedEntry(ModifiedEntry);
        m_host.statusModifiedChanged(true);
        refreshTabPictures();
    } else {
        setCurrentModifiedEntry(NotModifiedEntry);
        m_host.statusModifiedChanged(false);
    }
}

void DocumentSet::refreshDocumentList(int selected)
{
    m_host.documentListChanged(m_captions, selected);
}

void DocumentSet::removeEntry(int index)
{
    const QString storeFile = m_storeFiles.takeAt(index);
    m_captions.removeAt(index);
    m_fileList.removeAt(index);
    m_positions.removeAt(index);
    m_modified.removeAt(index);
    if (m_tabIndex >= count())
        m_tabIndex = count() - 1;
    m_host.tabRemoved(index);
    m_host.storeFileDropped(storeFile);
}

void DocumentSet::resetToBlank()
{
    while (count() > 0)
        removeEntry(count() - 1);
    m_host.editorClearModifiedFlag();
    m_host.statusModifiedChanged(false);
    appendEntry(UntitledName, UntitledName);
    refreshDocumentList(0);
    addDocumentSlot();
    m_modified[0] = NotModifiedEntry;
    refreshTabPictures();
    m_tabIndex = 0;
    m_host.tabIndexChanged(0);
    setCurrentCaption(UntitledName);
    m_host.editorClear();
    m_host.editorClearModifiedFlag();
    refreshDocumentList();
    m_host.statusModifiedChanged(false);
}

void DocumentSet::closeDocument(const AskQuestion& ask)
{
    if (count() == 1) {
        // The only document: a modified one is reset after a Yes; an unmodified one stays.
        if (isModified(m_tabIndex) && ask(CloseModifiedQuestion) == Answer::Yes)
            resetToBlank();
        m_host.statusModifiedChanged(isModified(m_tabIndex));
    } else {
        bool quietly = false;
        bool remove = true;
        if (isModified(m_tabIndex)) {
            const Answer answer = ask(CloseModifiedQuestion);
            remove = answer == Answer::Yes;
            quietly = answer != Answer::No;
        }
        if (remove) {
            // The closed document's text goes with the editor's content, written nowhere.
            removeEntry(m_tabIndex);
            m_tabIndex = count() - 1;
            m_host.tabIndexChanged(m_tabIndex);
            refreshDocumentList();
            showCurrentDocument();
        }
        if (quietly)
            throw QuietEnd();
    }
    publishHints();
    m_host.titleDocumentTextChanged(titleDocumentText());
}

void DocumentSet::closeAll(const AskQuestion& ask)
{
    const Answer answer = ask(CloseAllQuestion);
    if (answer == Answer::Cancel)
        throw QuietEnd();
    if (answer == Answer::No)
        return;
    resetToBlank();
    m_host.editorHintChanged(UntitledName);
    m_host.titleDocumentTextChanged(titleDocumentText());
}
