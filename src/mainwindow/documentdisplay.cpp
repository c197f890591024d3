#include "mainwindow/documentdisplay.h"

#include "editor/editorview.h"
#include "editor/editorviews.h"
#include "mainwindow/documenttabs.h"
#include "mainwindow/filedialogs.h"
#include "mainwindow/programwindows.h"
#include "mainwindow/statusbar.h"
#include "platform/platform.h"
#include "windows/documentselector.h"

DocumentDisplay::DocumentDisplay(DocumentTabs& tabs, EditorViews& views, StatusBar& statusBar,
                                 const ProgramWindows& windows, FileDialogs& dialogs,
                                 std::function<void(const QString&)> showTitleText)
    : m_tabs(tabs), m_views(views), m_statusBar(statusBar), m_windows(windows), m_dialogs(dialogs),
      m_showTitleText(std::move(showTitleText))
{}

QString DocumentDisplay::createStoreFile()
{
    return platform::createTempFile(QStringLiteral("txt"));
}

qint64 DocumentDisplay::editorSelStart() const
{
    return m_views.current()->selStart();
}

void DocumentDisplay::editorStash(const QString& storeFile)
{
    m_views.stash(storeFile);
}

void DocumentDisplay::editorShow(const QString& storeFile)
{
    m_views.show(storeFile);
}

bool DocumentDisplay::editorModifiedFlag() const
{
    return m_views.current()->modifiedFlag();
}

void DocumentDisplay::editorClearModifiedFlag()
{
    m_views.current()->clearModifiedFlag();
}

void DocumentDisplay::editorSetCaret(qint64 pos)
{
    m_views.current()->setCaret(pos);
}

void DocumentDisplay::editorClear()
{
    m_views.current()->clearText();
}

void DocumentDisplay::storeFileDropped(const QString& storeFile)
{
    m_views.forget(storeFile);
}

void DocumentDisplay::tabAppended(const QString& caption)
{
    m_tabs.appendTab(caption);
}

void DocumentDisplay::tabIndexChanged(int index)
{
    m_tabs.setTabIndex(index);
}

void DocumentDisplay::holdTabIndex(bool hold)
{
    m_tabs.holdTabIndex(hold);
}

void DocumentDisplay::tabModifiedChanged(int index, bool modified)
{
    m_tabs.tabs()->setPicture(index, modified ? DocumentTabBar::ModifiedPicture : DocumentTabBar::UnmodifiedPicture);
}

void DocumentDisplay::tabCaptionChanged(int index, const QString& caption)
{
    m_tabs.setCaption(index, caption);
}

void DocumentDisplay::tabRemoved(int index)
{
    m_tabs.removeTab(index);
}

void DocumentDisplay::statusModifiedChanged(bool modified)
{
    m_statusBar.setPanelText(StatusBar::ModifiedState, modified ? ModifiedWord : QString());
}

void DocumentDisplay::tabHintChanged(const QString& hint)
{
    m_tabHint = hint;
    m_tabs.tabs()->setToolTip(hint);
    m_tabs.tabs()->setStatusTip(hint);
}

void DocumentDisplay::editorHintChanged(const QString& hint)
{
    m_editorHint = hint;
    m_views.current()->setStatusTip(hint);
    m_views.current()->setAccessibleDescription(hint);
}

void DocumentDisplay::titleDocumentTextChanged(const QString& text)
{
    m_showTitleText(text);
}

void DocumentDisplay::saveDialogFileNameChanged(const QString& name)
{
    m_dialogs.save.fileName = name;
}

void DocumentDisplay::documentListChanged(const QStringList& captions, int selected)
{
    // The selector does not exist yet while the command line is processed at creation.
    if (m_windows.documentSelector)
        m_windows.documentSelector->setDocuments(captions, selected);
}

void DocumentDisplay::currentEncodingChanged(const Document& document)
{
    m_statusBar.setPanelText(StatusBar::Encoding, document.rawBytesNote.isEmpty()
                                                      ? platform::encodingName(document.encoding)
                                                      : RawBytesPanelText);
    if (m_encodingShown)
        m_encodingShown(document);
}
