#pragma once
// Document Selector: a small floating window listing the open documents by their tab captions,
// the current tab selected. It holds no document data: the main window keeps the list in step
// and does what the selector's buttons ask through DocumentSelectorHost. Its tool bar, status
// bar and the tool bar's menu entries are kept in section "Document Selector".

#include "settings/propertycodec.h"
#include "windows/windowbase.h"

#include <functional>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QTimer;
class QToolButton;

// What the selector asks of the main window.
class DocumentSelectorHost
{
public:
    virtual ~DocumentSelectorHost() = default;
    virtual void goToDocument(int index) = 0;
    virtual void newDocument() = 0;
    virtual void closeDocument() = 0;
    virtual void previousDocument() = 0;
    virtual void nextDocument() = 0;
};

class DocumentSelector : public WindowBase
{
    Q_OBJECT

public:
    explicit DocumentSelector(QWidget* parent = nullptr);
    ~DocumentSelector() override;

    void setHost(DocumentSelectorHost* host) { m_host = host; }
    void setDocuments(const QStringList& captions, int selected);
    QStringList documents() const;
    int selectedIndex() const;

    // Goes to the document of the selected entry; nothing happens while none is selected.
    void goToSelected();
    void closeSelector() { hide(); }
    void showToolBar();
    void hideToolBar();
    void setStatusBarShown(bool shown);
    void setListFont(const QFont& font);
    // Brings the count panel up to date (the timer does so every 100 ms).
    void refreshCount();

    QListWidget* documentList() const { return m_documentList; }
    QWidget* toolPanel() const { return m_toolPanel; }
    QWidget* statusBar() const { return m_statusBar; }
    QString countText() const;
    QMenu* contextMenu() const { return m_menu; }
    QAction* showToolBarEntry() const { return m_showToolBar; }
    QAction* hideToolBarEntry() const { return m_hideToolBar; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QToolButton* addButton(const char* name, int icon, const QString& hint, std::function<void()> command);
    void askHost(void (DocumentSelectorHost::*request)());

    DocumentSelectorHost* m_host = nullptr;
    QWidget* m_toolPanel = nullptr;
    QListWidget* m_documentList = nullptr;
    QWidget* m_statusBar = nullptr;
    QLabel* m_hintPanel = nullptr;
    QLabel* m_countPanel = nullptr;
    QTimer* m_countTimer = nullptr;
    QMenu* m_menu = nullptr;
    // The entry the menu was opened on, which its Close Document closes (-1: none, the current
    // document's).
    int m_menuRow = -1;
    QAction* m_showToolBar = nullptr;
    QAction* m_hideToolBar = nullptr;
    // The tool bar's font as stored: the designed default until the settings say otherwise.
    PropertyCodec::StoredFont m_toolPanelFont;
};
