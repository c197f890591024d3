#pragma once
// Utility Options: the display preferences of the two side windows, the ClipBook (in its two
// views) and the document selector, as three pages of check boxes kept in section "Utility
// Options". OK applies the tool bars, status bars, auto-completion and the selector's storage;
// the keep-on-top boxes are read each time a side window is shown; the font buttons act at once.

#include "windows/windowbase.h"

class ClipBookWindow;
class DocumentSelector;
class QCheckBox;
class QPushButton;
class QTabWidget;

class UtilityOptionsDialog : public WindowBase
{
    Q_OBJECT

public:
    explicit UtilityOptionsDialog(QWidget* parent = nullptr);
    ~UtilityOptionsDialog() override;

    // The windows OK and the font buttons change (either may be null).
    void setTargets(ClipBookWindow* clipBook, DocumentSelector* documentSelector);

    // Shows the window modally on the page last shown; true when closed with OK.
    bool execute();
    void accept();
    void reject();

    bool clipBookFilesKeptOnTop() const;    // CFKeepOnTop1
    bool documentSelectorKeptOnTop() const; // DSKeepOnTop1
    bool clipBookKeptOnTop() const;         // CKeepOnTop1

    QTabWidget* pages() const { return m_pages; }
    QCheckBox* box(const QString& name) const;
    QPushButton* okButton(int page) const { return m_okButtons[page]; }
    QPushButton* cancelButton(int page) const { return m_cancelButtons[page]; }
    QPushButton* fontButton(int page) const { return m_fontButtons[page]; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void chooseFont(int page);

    ClipBookWindow* m_clipBook = nullptr;
    DocumentSelector* m_documentSelector = nullptr;
    QTabWidget* m_pages = nullptr;
    QPushButton* m_okButtons[3] = {};
    QPushButton* m_cancelButtons[3] = {};
    QPushButton* m_fontButtons[3] = {};
    bool m_accepted = false;
};
