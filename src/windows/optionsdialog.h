#pragma once
// Quillet Options: a modal window of four pages whose controls are the editor's preferences.
// The main window reads some controls when it needs them (the accessors below), receives others
// when OK is pressed (OptionsTarget), and the font and colour buttons act on it at once.

#include "core/filedialogstate.h"
#include "settings/filters.h"
#include "settings/propertycodec.h"
#include "windows/windowbase.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTextEdit;

// The four file dialogs of the main window that Apply filters and the working directory set up.
struct OptionsDialogs
{
    FileDialogState* open = nullptr;
    FileDialogState* saveAs = nullptr;
    FileDialogState* insert = nullptr;
    FileDialogState* saveSelection = nullptr;
};

// What the options window changes in the main window, in the order OK applies it.
class OptionsTarget
{
public:
    virtual ~OptionsTarget() = default;
    virtual void setStayOnTop(bool on) = 0;           // topmost; position and size unchanged
    virtual void setSettingsAutoSave(bool on) = 0;    // the main window storage's Active
    virtual void setAutoSave(bool on) = 0;            // the six-minute auto-save timer
    virtual void setTrayIcon(bool on) = 0;            // notification-area icon
    virtual void setToolBarShown(bool on) = 0;        // the tool bar panel
    virtual void setShowFileNameInTitle(bool on) = 0; // on: " - " + current tab caption, visible
    virtual void setDropEnabled(bool on) = 0;         // files dropped on the editor
    virtual void turnWordWrapOn() = 0;                // performs Word Wrap unless already wrapping
    virtual OptionsDialogs fileDialogs() = 0;         // start folders and filters go here
    // Acting at once from the font and colour buttons.
    virtual void setEditorFont(const QFont& font) = 0; // the editor and the hidden TextBox1
    virtual void setPageColour(qint32 stored) = 0;     // editor background, stored colour form
    virtual void setTextColour(qint32 stored) = 0;     // editor text colour, stored colour form
};

class OptionsDialog : public WindowBase
{
    Q_OBJECT

public:
    explicit OptionsDialog(QWidget* parent = nullptr);

    void setTarget(OptionsTarget* target) { m_target = target; }

    // Shows the window modally on the current page; true when it was closed with OK.
    bool execute();
    // Makes page 1..4 current ("&Properties" opens on page 2).
    void showPage(int page);
    int currentPage() const; // 1..4

    // Read by the main window when it needs them.
    bool makeBackups() const;       // BackUp1
    bool animate() const;           // An1
    int tabWidth() const;           // SpinEdit1
    QString dateTimeFilter() const; // Edit5
    QString browser() const;        // Edit6

    // Apply filters, before each file dialog of the main window. Throws
    // CommandError("List index out of bounds") when every filter was deleted.
    void applyFilters(FileDialogState& open, FileDialogState& save, FileDialogState& saveSelection,
                      FileDialogState& insert);

    // The button handlers. The buttons run them inside the command guard, so they may throw
    // CommandError; okClick guards its own steps because the window closes with OK either way.
    void okClick();
    void cancelClick();
    void newFilterClick();
    void deleteFilterClick();
    void replaceFilterClick();
    void filterSelected(int row);
    void changeFontClick();
    void pageColourClick();
    void loadDefaultsClick();
    void locateBrowserClick();

    // Page 1.
    QCheckBox* BackUp1 = nullptr;
    QCheckBox* AutoSave1 = nullptr;
    QCheckBox* FilenameOp1 = nullptr;
    QCheckBox* SaveOp1 = nullptr;
    QCheckBox* StayOnTop1 = nullptr;
    QCheckBox* System1 = nullptr;
    QCheckBox* ToolBar1 = nullptr;
    QCheckBox* An1 = nullptr;
    QLineEdit* WorkingDir1 = nullptr;
    // Page 2.
    QCheckBox* WordWrap1 = nullptr;
    QCheckBox* Dropped1 = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QTextEdit* RichEdit1 = nullptr;
    QPushButton* BitBtn5 = nullptr;
    // Page 3.
    QListWidget* Filter1 = nullptr;
    QListWidget* FilterName1 = nullptr; // hidden
    QListWidget* ExtBox3 = nullptr;     // hidden
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit7 = nullptr; // hidden scratch
    QPushButton* BitBtn12 = nullptr;
    QPushButton* BitBtn13 = nullptr;
    QPushButton* BitBtn14 = nullptr;
    // Page 4.
    QPushButton* BitBtn10 = nullptr;
    QTextEdit* RichEdit2 = nullptr;
    QPushButton* BitBtn11 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QPushButton* SpeedButton1 = nullptr;

    QTabWidget* PageControl1 = nullptr;
    QPushButton* OKButtons[4] = {};
    QPushButton* CancelButtons[4] = {};
    QMenu* PopupMenu1 = nullptr;
    QAction* Help1 = nullptr;

    // The browser dialog Web1, kept between uses.
    FileDialogState Web1;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct SampleBox
    {
        QTextEdit* edit = nullptr;
        qint32 color = PropertyCodec::SysColorBtnFace;
        PropertyCodec::StoredFont font;
        int align = 0;     // alNone
        int alignment = 0; // taLeftJustify
    };

    void buildPage1(QWidget* page);
    void buildPage2(QWidget* page);
    void buildPage3(QWidget* page);
    void buildPage4(QWidget* page);
    void addPageButtons(QWidget* page, int index);
    void registerStoredProperties();
    void applySample(SampleBox& box);
    filters::FilterLists lists() const;
    // Puts the lists back into the three controls, keeping each one's current row.
    void setLists(const filters::FilterLists& lists);

    OptionsTarget* m_target = nullptr;
    SampleBox m_sample1;
    SampleBox m_sample2;
    PropertyCodec::StoredFont m_fontDialogFont; // FontDialog1
    qint32 m_colorDialogColor = 0;              // ColorDialog1
    bool m_accepted = false;
};

extern OptionsDialog* QuilletOp;
