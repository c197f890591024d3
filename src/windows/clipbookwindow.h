#pragma once
// ClipBook: the tool window beside the editor, created at start and shown by the main window's
// ClipBook commands on one of two pages. The item page holds one template of text items to paste
// into documents; the file page one File Template, a list of files to open. The names of the
// templates are the two boxes' lists, kept in the settings store ("TemplateComboBox1.Items",
// "FileCombo1.Items"); what they hold is read and written through the ClipBook store
// (src/commands/clipbookstore), every change at once.
//
// Saving writes to the template whose name the box shows: a name typed but not chosen from the
// list becomes a new listed template, as a create would, never a file without a name.

#include "commands/clipbookstore.h"
#include "windows/templatenamedialog.h"
#include "windows/windowbase.h"

#include <QStringList>

class QAbstractItemView;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;
class QToolButton;
class TextListModel;

// What the ClipBook needs of the main window.
class ClipBookHost
{
public:
    virtual ~ClipBookHost() = default;
    // Where "ClipBook/" and "ClipFiles/" are, ending in a separator.
    virtual QString programDirectory() = 0;
    // The current document's selected text.
    virtual QString selectedDocumentText() = 0;
    // Replaces the current document's selection with `text`.
    virtual void replaceDocumentSelection(const QString& text) = 0;
    // Inserts `text` at the start of the current document's selection, which stays in place.
    virtual void insertBeforeDocumentSelection(const QString& text) = 0;
    // Opens `path` as a new document, as the Open command does.
    virtual void openDocument(const QString& path) = 0;
    // Opens every path in turn, as a list of files named on the command line opens.
    virtual void openDocuments(const QStringList& paths) = 0;
    // The code page a ClipBook file that is not UTF-8 is read in (the options' choice).
    virtual platform::TextEncoding legacyEncoding() { return platform::TextEncoding::Windows1252; }
    // The open dialog with the options' filters; the files chosen, none when cancelled.
    virtual QStringList chooseFilesToAdd() = 0;
    // The naming window.
    virtual TemplateNameDialog* namingDialog() = 0;
};

class ClipBookWindow : public WindowBase
{
    Q_OBJECT

public:
    enum class Page { Items, Files };
    enum class Panel { Name = 0, Information = 1 };

    explicit ClipBookWindow(QWidget* parent = nullptr);
    ~ClipBookWindow() override;

    // Set once the main window exists; the current templates are read then.
    void setHost(ClipBookHost* host);
    ClipBookHost* host() const { return m_host; }

    Page page() const { return m_page; }
    // Shows `page` in the window without showing the window.
    void setPage(Page page);
    // Shows the window on `page`, above other windows when `keepOnTop`, and brings it to the front.
    void showPage(Page page, bool keepOnTop);

    // Display preferences the utility options set.
    void setStatusBarShown(bool shown);
    void setItemToolBarsShown(bool shown); // ClipPanel1, Panel1
    void setFileToolBarsShown(bool shown); // Panel2, FilePanel1
    void setTemplateAutoComplete(bool on);
    void setFileAutoComplete(bool on);
    bool templateAutoComplete() const { return m_templateCompletes; }
    bool fileAutoComplete() const { return m_fileCompletes; }
    void setItemViewFont(const QFont& font); // ItemListBox1, TemplateComboBox1, ClipEdit, ClipEdit2
    void setFileViewFont(const QFont& font); // FileListBox1, FileCombo1, FileEdit1

    // --- The item page -----------------------------------------------------------------------
    QStringList templateNames() const { return m_templates.names; }
    QString templateBoxText() const;
    clipbook::Items items() const;
    int currentItem() const;
    void selectItem(int row);

    void newTemplate();
    void renameTemplate();
    void deleteTemplate();
    void pasteToDocument();
    void insertItem();
    void copyToClipboard();
    void newItem();
    void addFromDocument();
    void addFromClipboard();
    void editItem();
    void removeItem();
    void saveTemplate();
    void openTemplateAsDocument();
    // Appends an item (the main window's "Add To ClipBook") and saves.
    void addItem(const QString& name, const QString& text);
    // Copies a .cpb file into the ClipBook under its imported name and shows it. Throws
    // CommandError when that fails.
    void importTemplate(const QString& sourcePath);

    // --- The file page -------------------------------------------------------------------------
    QStringList fileTemplateNames() const { return m_fileTemplates.names; }
    QString fileBoxText() const;
    QStringList filePaths() const;
    int currentFile() const;
    void selectFile(int row);

    void newFileTemplate();
    void renameFileTemplate();
    void deleteFileTemplate();
    void openFile();
    void openAllFiles();
    void newFileEntry();
    void addFiles();
    void addDroppedFiles(const QStringList& paths);
    void removeFileEntry();
    void saveFileTemplate();
    void openFileTemplateAsDocument();
    // Appends a path (the main window's "Add To ClipBook Files") and saves; the selection stays.
    void addFilePath(const QString& path);
    void importFileTemplate(const QString& sourcePath);
    // Selects the entry `step` goes to and returns its path; nothing (and no entry selected) when
    // that is outside the list.
    std::optional<QString> stepToFile(clipbook::Step step);

    QString statusText(Panel panel) const;

    // The controls, for the keyboard and the tests.
    QComboBox* templateBox() const { return m_templateBox; }
    QListView* itemList() const { return m_itemList; }
    QLineEdit* itemNameField() const { return m_itemName; }
    QLineEdit* itemTextField() const { return m_itemText; }
    QComboBox* fileBox() const { return m_fileBox; }
    QListView* fileList() const { return m_fileList; }
    QLineEdit* filePathField() const { return m_filePath; }
    QMenu* comboMenu() const { return m_comboMenu; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildItemPage(QWidget* page);
    void buildFilePage(QWidget* page);
    void buildStatusBar();
    void buildMenus();
    QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QString& hint,
                            void (ClipBookWindow::*command)());
    QToolButton* makeBarButton(QWidget* parent, const char* name, const QString& caption, const QString& hint,
                               void (ClipBookWindow::*command)());
    void run(void (ClipBookWindow::*command)());

    QString programDirectory() const;
    void setStatus(Panel panel, const QString& text);
    void showTemplateNames();
    void showFileTemplateNames();
    void storeNames();
    // The item page's template: the box's text (typed or chosen).
    void loadTemplate(const QString& name);
    void loadFileTemplate(const QString& name, bool fromChange);
    // The fields and the status bar show the current row, however it became current.
    void showItemInformation();
    void showFileInformation();
    // Completes a name typed into `box` to the first listed one it begins (letter case aside),
    // with the completed part selected; false when none does.
    bool complete(QComboBox* box, const QString& typed);
    // The same once the key that typed it is over (unless it deleted, or more was typed).
    void completeLater(QComboBox* box, const QString& typed);
    // A template box completes what is typed while `completes` says so, and its keys are watched.
    void watchNameBox(QComboBox* box, const bool& completes);
    // The fields show `list`'s current row however it becomes current.
    void followCurrentRow(QAbstractItemView* list, void (ClipBookWindow::*showRow)());
    void templateTextEdited(const QString& text);
    void fileTemplateChosen(int index);
    void fileTemplateLeft();
    void setItems(const clipbook::Items& items);
    // Writes an empty new template and lists it; the page shows it empty.
    void createEmpty(const QString& dir, clipbook::Kind kind, clipbook::NameList& list, const QString& name);
    // The naming window's OK: true when done, false to keep the window open.
    bool acceptName(TemplateNameDialog::Mode mode, const QString& name);
    void openNaming(TemplateNameDialog::Mode mode, const QString& currentName);

    ClipBookHost* m_host = nullptr;
    Page m_page = Page::Items;
    clipbook::NameList m_templates;
    clipbook::NameList m_fileTemplates;
    QStringList m_itemTexts; // parallel to the item list's names
    bool m_updatingBoxes = false;
    // The encoding each shown file was read in, and is written back in.
    platform::TextEncoding m_templateEncoding = platform::TextEncoding::Utf8;
    platform::TextEncoding m_fileTemplateEncoding = platform::TextEncoding::Utf8;
    bool m_templateCompletes = true;
    bool m_fileCompletes = true;
    // The last key in a name box deleted text: no completion then.
    bool m_deleting = false;

    QWidget* m_itemPage = nullptr;
    QWidget* m_filePage = nullptr;
    QComboBox* m_templateBox = nullptr;
    QListView* m_itemList = nullptr;
    TextListModel* m_itemNames = nullptr;
    QLineEdit* m_itemName = nullptr;
    QLineEdit* m_itemText = nullptr;
    QComboBox* m_fileBox = nullptr;
    QListView* m_fileList = nullptr;
    TextListModel* m_paths = nullptr;
    QLineEdit* m_filePath = nullptr;
    QLabel* m_statusName = nullptr;
    QLabel* m_statusInformation = nullptr;
    QMenu* m_comboMenu = nullptr;
    QAction* m_newTemplateEntry = nullptr;
    QAction* m_newFileTemplateEntry = nullptr;
};
