#include "documents/documentset.h"

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
    const QString storeFile = m_host.createStoreFile();
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
