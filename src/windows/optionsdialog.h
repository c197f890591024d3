#pragma once
// Quillet Options: a modal window of four pages whose controls are the editor's preferences.
// The main window reads some controls when it needs them (the accessors below), receives others
// when OK is pressed (OptionsTarget), and the font and colour buttons act on it at once.

#include "core/filedialogstate.h"
#include "platform/textcodec.h"
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
class QComboBox;
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
    virtual void setSettingsAutoSave(bool on) = 0;    // the main window storage's setActive
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
    ~OptionsDialog() override;

    void setTarget(OptionsTarget* target) { m_target = target; }

    // Shows the window modally on the current page; true when it was closed with OK.
    bool execute();
    // Makes page 1..4 current ("&Properties" opens on page 2).
    void showPage(int page);
    int currentPage() const; // 1..4

    // Documents larger than this many MiB open unwrapped (0: none do).
    static constexpr int BuiltInLargeDocumentMB = 64;
    // The options the program reads at the time of use; the controls start with these values.
    struct Values
    {
        bool makeBackups = true;                                                     // BackUp1
        bool animate = true;                                                         // An1
        int tabWidth = 0;                                                            // SpinEdit1
        qint64 largeDocumentBytes = qint64(BuiltInLargeDocumentMB) << 20;            // SpinEdit2
        platform::TextEncoding legacyEncoding = platform::TextEncoding::Windows1252; // LegacyEncodingCombo
        QString dateTimeFilter;                                                      // Edit5
        QString browser;                                                             // Edit6
    };
    // From the window's controls; while `options` does not exist yet (the command line's files
    // open before it), the values the window will restore from the program's settings store.
    static Values valuesOf(const OptionsDialog* options);

    // The controls' values one by one.
    bool makeBackups() const;          // BackUp1
    bool animate() const;              // An1
    int tabWidth() const;              // SpinEdit1
    qint64 largeDocumentBytes() const; // SpinEdit2
    // The code page of files that are neither UTF-8 nor UTF-16.
    platform::TextEncoding legacyEncoding() const; // LegacyEncodingCombo
    QString dateTimeFilter() const;                // Edit5
    QString browser() const;                       // Edit6

    // Apply filters, before each file dialog of the main window. Throws
    // CommandError("List index out of bounds") when every filter was deleted.
    void applyFilters(FileDialogState& open, FileDialogState& save, FileDialogState& saveSelection,
                      FileDialogState& insert);

    // The button handlers. The buttons run them inside the command guard, so they may throw
    // CommandError; accept guards its own steps because the window closes with OK either way.
    void accept();        // OK on any page
    void reject();        // Cancel on any page, or Escape
    void addFilter();     // New
    void deleteFilter();  // Delete
    void replaceFilter(); // Replace
    void filterSelected(int row);
    void chooseFont();         // Change Default Font
    void choosePageColour();   // Page Colour
    void loadDefaultColours(); // Load Defaults
    void locateBrowser();      // the "..." beside Web Browser

    // The controls; each comment gives the designed name, which is its objectName. Page 1.
    QCheckBox* makeBackupsBox() const { return m_makeBackupsBox; }         // BackUp1
    QCheckBox* autoSaveBox() const { return m_autoSaveBox; }               // AutoSave1
    QCheckBox* fileNameInTitleBox() const { return m_fileNameInTitleBox; } // FilenameOp1
    QCheckBox* saveSettingsBox() const { return m_saveSettingsBox; }       // SaveOp1
    QCheckBox* stayOnTopBox() const { return m_stayOnTopBox; }             // StayOnTop1
    QCheckBox* trayIconBox() const { return m_trayIconBox; }               // System1
    QCheckBox* toolBarBox() const { return m_toolBarBox; }                 // ToolBar1
    QCheckBox* animateBox() const { return m_animateBox; }                 // An1
    QLineEdit* workingDirEdit() const { return m_workingDirEdit; }         // WorkingDir1
    // Page 2.
    QCheckBox* wordWrapBox() const { return m_wordWrapBox; }                 // WordWrap1
    QCheckBox* acceptDropsBox() const { return m_acceptDropsBox; }           // Dropped1
    QSpinBox* tabWidthSpin() const { return m_tabWidthSpin; }                // SpinEdit1
    QSpinBox* largeDocumentSpin() const { return m_largeDocumentSpin; }      // SpinEdit2
    QComboBox* legacyEncodingCombo() const { return m_legacyEncodingCombo; } // LegacyEncodingCombo
    QTextEdit* fontSampleEdit() const { return m_fontSample.edit; }          // RichEdit1
    QPushButton* changeFontButton() const { return m_changeFontButton; }     // BitBtn5
    // Page 3.
    QListWidget* filterList() const { return m_filterList; }                   // Filter1
    QListWidget* filterNameList() const { return m_filterNameList; }           // FilterName1, hidden
    QListWidget* filterPatternList() const { return m_filterPatternList; }     // ExtBox3, hidden
    QLineEdit* filterNameEdit() const { return m_filterNameEdit; }             // Edit2
    QLineEdit* filterPatternEdit() const { return m_filterPatternEdit; }       // Edit3
    QLineEdit* defaultExtEdit() const { return m_defaultExtEdit; }             // Edit4
    QLineEdit* scratchEdit() const { return m_scratchEdit; }                   // Edit7, hidden
    QPushButton* newFilterButton() const { return m_newFilterButton; }         // BitBtn12
    QPushButton* deleteFilterButton() const { return m_deleteFilterButton; }   // BitBtn13
    QPushButton* replaceFilterButton() const { return m_replaceFilterButton; } // BitBtn14
    // Page 4.
    QPushButton* pageColourButton() const { return m_pageColourButton; }       // BitBtn10
    QTextEdit* pagePreviewEdit() const { return m_pagePreview.edit; }          // RichEdit2
    QPushButton* loadDefaultsButton() const { return m_loadDefaultsButton; }   // BitBtn11
    QLineEdit* dateTimeFilterEdit() const { return m_dateTimeFilterEdit; }     // Edit5
    QLineEdit* browserEdit() const { return m_browserEdit; }                   // Edit6
    QPushButton* locateBrowserButton() const { return m_locateBrowserButton; } // SpeedButton1

    QTabWidget* pages() const { return m_pages; } // PageControl1
    // Each page's own OK and Cancel buttons (OKBtn1..4, CancelBtn1..4), for page 1..4.
    QPushButton* okButton(int page) const { return m_okButtons[page - 1]; }
    QPushButton* cancelButton(int page) const { return m_cancelButtons[page - 1]; }
    QMenu* contextMenu() const { return m_contextMenu; } // PopupMenu1
    QAction* helpAction() const { return m_helpAction; } // Help1

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // A sample text box and the stored looks it shows.
    struct SampleBox
    {
        QTextEdit* edit = nullptr;
        qint32 color = PropertyCodec::SysColorBtnFace;
        PropertyCodec::StoredFont font;
        int align = 0;     // alNone
        int alignment = 0; // taLeftJustify
    };

    void buildGeneralPage(QWidget* page);
    void buildDocumentPage(QWidget* page);
    void buildFiltersPage(QWidget* page);
    void buildMiscellaneousPage(QWidget* page);
    void addPageButtons(QWidget* page, int index);
    void registerStoredProperties();
    void applySample(SampleBox& box);
    filters::FilterLists lists() const;
    // Puts the lists back into the three controls, keeping each one's current row.
    void setLists(const filters::FilterLists& lists);

    // Page 1.
    QCheckBox* m_makeBackupsBox = nullptr;
    QCheckBox* m_autoSaveBox = nullptr;
    QCheckBox* m_fileNameInTitleBox = nullptr;
    QCheckBox* m_saveSettingsBox = nullptr;
    QCheckBox* m_stayOnTopBox = nullptr;
    QCheckBox* m_trayIconBox = nullptr;
    QCheckBox* m_toolBarBox = nullptr;
    QCheckBox* m_animateBox = nullptr;
    QLineEdit* m_workingDirEdit = nullptr;
    // Page 2.
    QCheckBox* m_wordWrapBox = nullptr;
    QCheckBox* m_acceptDropsBox = nullptr;
    QSpinBox* m_tabWidthSpin = nullptr;
    QSpinBox* m_largeDocumentSpin = nullptr;
    QComboBox* m_legacyEncodingCombo = nullptr;
    QPushButton* m_changeFontButton = nullptr;
    // Page 3.
    QListWidget* m_filterList = nullptr;
    QListWidget* m_filterNameList = nullptr;
    QListWidget* m_filterPatternList = nullptr;
    QLineEdit* m_filterNameEdit = nullptr;
    QLineEdit* m_filterPatternEdit = nullptr;
    QLineEdit* m_defaultExtEdit = nullptr;
    QLineEdit* m_scratchEdit = nullptr;
    QPushButton* m_newFilterButton = nullptr;
    QPushButton* m_deleteFilterButton = nullptr;
    QPushButton* m_replaceFilterButton = nullptr;
    // Page 4.
    QPushButton* m_pageColourButton = nullptr;
    QPushButton* m_loadDefaultsButton = nullptr;
    QLineEdit* m_dateTimeFilterEdit = nullptr;
    QLineEdit* m_browserEdit = nullptr;
    QPushButton* m_locateBrowserButton = nullptr;

    QTabWidget* m_pages = nullptr;
    QPushButton* m_okButtons[4] = {};
    QPushButton* m_cancelButtons[4] = {};
    QMenu* m_contextMenu = nullptr;
    QAction* m_helpAction = nullptr;

    OptionsTarget* m_target = nullptr;
    SampleBox m_fontSample;                     // RichEdit1
    SampleBox m_pagePreview;                    // RichEdit2
    PropertyCodec::StoredFont m_fontDialogFont; // FontDialog1
    qint32 m_colorDialogColor = 0;              // ColorDialog1
    FileDialogState m_browserDialog;            // Web1, kept between uses
    bool m_accepted = false;
};
