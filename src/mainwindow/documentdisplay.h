#pragma once
// What the document set decides, shown on screen: the editor views, the tab strip, the modified
// panel, the hints of the tabs and the editor, the title's document text and the document
// selector's list.

#include "documents/documentset.h"

#include <functional>

class DocumentTabs;
class EditorViews;
class StatusBar;
struct FileDialogs;
struct ProgramWindows;

class DocumentDisplay : public DocumentHost
{
public:
    DocumentDisplay(DocumentTabs& tabs, EditorViews& views, StatusBar& statusBar, const ProgramWindows& windows,
                    FileDialogs& dialogs, std::function<void(const QString&)> showTitleText);

    QString tabHint() const { return m_tabHint; }
    QString editorHint() const { return m_editorHint; }

    QString createStoreFile() override;
    qint64 editorSelStart() const override;
    void editorStash(const QString& storeFile) override;
    void editorShow(const QString& storeFile) override;
    bool editorModifiedFlag() const override;
    void editorClearModifiedFlag() override;
    void editorSetCaret(qint64 pos) override;
    void editorClear() override;
    void storeFileDropped(const QString& storeFile) override;
    void tabAppended(const QString& caption) override;
    void tabIndexChanged(int index) override;
    void holdTabIndex(bool hold) override;
    void tabModifiedChanged(int index, bool modified) override;
    void tabCaptionChanged(int index, const QString& caption) override;
    void tabRemoved(int index) override;
    void statusModifiedChanged(bool modified) override;
    void tabHintChanged(const QString& hint) override;
    void editorHintChanged(const QString& hint) override;
    void titleDocumentTextChanged(const QString& text) override;
    void saveDialogFileNameChanged(const QString& name) override;
    void documentListChanged(const QStringList& captions, int selected) override;
    void currentEncodingChanged(const Document& document) override;
    // Told whether the current document has a file, as its encoding is shown.
    void setEncodingShown(std::function<void(const Document&)> shown) { m_encodingShown = std::move(shown); }

private:
    DocumentTabs& m_tabs;
    EditorViews& m_views;
    StatusBar& m_statusBar;
    const ProgramWindows& m_windows;
    FileDialogs& m_dialogs;
    std::function<void(const QString&)> m_showTitleText;
    QString m_tabHint;
    QString m_editorHint;
    std::function<void(const Document&)> m_encodingShown;
};
