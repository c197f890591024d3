#include "windows/utilityoptionsdialog.h"

#include "core/commandguard.h"
#include "core/prompts.h"
#include "settings/propertycodec.h"
#include "settings/storedprops.h"
#include "windows/clipbookwindow.h"
#include "windows/documentselector.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace PropertyCodec;

namespace {

struct BoxRow
{
    const char* name;
    const char* caption;
};

struct PageSetup
{
    const char* sheet;
    const char* title;
    BoxRow boxes[4];
    const char* fontButton;
};

const PageSetup Pages[] = {
    {"TabSheet1",
     "&1. ClipBook Files Options",
     {{"CFKeepOnTop1", "&Keep On-Top"},
      {"CFShowStatusBar1", "Show Status&Bar"},
      {"CFShowToolBars1", "Show &ToolBars"},
      {"CFAutoComplete1", "&Auto-Complete in ComboBox"}},
     "Change ClipBook &Files Font"},
    {"TabSheet2",
     "&2. Document Selector Options",
     {{"DSKeepOnTop1", "&Keep On-Top"},
      {"DSShowStatusBar1", "Show Status&Bar"},
      {"DSShowToolBar1", "Show &ToolBar"},
      {"DSSaveWPos1", "&Save Window Position"}},
     "Change &Document Selector Font"},
    {"TabSheet3",
     "&3. ClipBook Options",
     {{"CKeepOnTop1", "&Keep On-Top"},
      {"CShowStatusBar1", "Show Status&Bar"},
      {"CShowToolBars1", "Show &ToolBars"},
      {"CAutoComplete1", "&Auto-Complete in ComboBox"}},
     "Change &ClipBook Font"},
};

// The stored values, in the order the section lists them.
const char* const StoredBoxes[] = {"CAutoComplete1",  "CFAutoComplete1", "CFKeepOnTop1",     "CFShowStatusBar1",
                                   "CFShowToolBars1", "CKeepOnTop1",     "CShowStatusBar1",  "CShowToolBars1",
                                   "DSKeepOnTop1",    "DSSaveWPos1",     "DSShowStatusBar1", "DSShowToolBar1"};

} // namespace

UtilityOptionsDialog::UtilityOptionsDialog(QWidget* parent)
    : WindowBase(QStringLiteral("MiscOp1"), QStringLiteral("Utility Options"), QSize(489, 172), true, parent,
                 {QStringLiteral("Utility Options"),
                  WindowSettings::ShowState | WindowSettings::Position | WindowSettings::FocusedControl},
                 captionmath::GradientMode::Smart)
{
    // Laid out for an 11-pixel dialog font, as the options window.
    QFont dialogFont(QStringLiteral("MS Sans Serif"));
    dialogFont.setStyleHint(QFont::SansSerif);
    dialogFont.setPixelSize(11);
    setFont(dialogFont);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(m_pages);
    for (int index = 0; index < 3; ++index) {
        const PageSetup& setup = Pages[index];
        auto* page = new QWidget(m_pages);
        page->setObjectName(QLatin1String(setup.sheet));
        auto* row = new QHBoxLayout(page);
        row->setContentsMargins(6, 6, 6, 6);
        auto* group = new QGroupBox(QStringLiteral("Preferences"), page);
        auto* grid = new QGridLayout(group);
        for (int i = 0; i < 4; ++i) {
            auto* check = new QCheckBox(QString::fromUtf8(setup.boxes[i].caption), group);
            check->setObjectName(QLatin1String(setup.boxes[i].name));
            check->setChecked(true);
            grid->addWidget(check, i % 2, i / 2);
        }
        m_fontButtons[index] = new QPushButton(QString::fromUtf8(setup.fontButton), group);
        m_fontButtons[index]->setAutoDefault(false);
        grid->addWidget(m_fontButtons[index], 2, 0, 1, 2);
        row->addWidget(group, 1);
        auto* buttons = new QVBoxLayout;
        m_okButtons[index] = new QPushButton(QStringLiteral("OK"), page);
        m_okButtons[index]->setObjectName(QStringLiteral("OKBtn%1").arg(index + 1));
        m_okButtons[index]->setDefault(true);
        m_cancelButtons[index] = new QPushButton(QStringLiteral("Cancel"), page);
        m_cancelButtons[index]->setObjectName(QStringLiteral("CancelBtn%1").arg(index + 1));
        for (QPushButton* b : {m_okButtons[index], m_cancelButtons[index]}) {
            b->setAutoDefault(false);
            buttons->addWidget(b);
        }
        buttons->addStretch(1);
        row->addLayout(buttons);
        m_pages->addTab(page, QString::fromUtf8(setup.title));
        connect(m_okButtons[index], &QPushButton::clicked, this, &UtilityOptionsDialog::accept);
        connect(m_cancelButtons[index], &QPushButton::clicked, this, &UtilityOptionsDialog::reject);
        connect(m_fontButtons[index], &QPushButton::clicked, this, [this, index] { chooseFont(index); });
    }
    // The ClipBook has one status bar for both views: ticking it on page 1 ticks page 3's.
    QCheckBox* filesStatusBar = box(QStringLiteral("CFShowStatusBar1"));
    connect(filesStatusBar, &QCheckBox::clicked, this,
            [this](bool checked) { box(QStringLiteral("CShowStatusBar1"))->setChecked(checked); });

    using namespace storedprops;
    WindowSettings& s = *storage();
    for (const char* name : StoredBoxes) {
        QCheckBox* check = box(QLatin1String(name));
        addBool(
            s, QLatin1String(name) + QStringLiteral(".Checked"), [check] { return check->isChecked(); },
            [check](bool v) { check->setChecked(v); });
    }
    addActivePage(s, QStringLiteral("PageControl1.ActivePage"), m_pages);
}

UtilityOptionsDialog::~UtilityOptionsDialog() = default;

void UtilityOptionsDialog::setTargets(ClipBookWindow* clipBook, DocumentSelector* documentSelector)
{
    m_clipBook = clipBook;
    m_documentSelector = documentSelector;
}

QCheckBox* UtilityOptionsDialog::box(const QString& name) const
{
    return findChild<QCheckBox*>(name);
}

bool UtilityOptionsDialog::clipBookFilesKeptOnTop() const
{
    return box(QStringLiteral("CFKeepOnTop1"))->isChecked();
}

bool UtilityOptionsDialog::documentSelectorKeptOnTop() const
{
    return box(QStringLiteral("DSKeepOnTop1"))->isChecked();
}

bool UtilityOptionsDialog::clipBookKeptOnTop() const
{
    return box(QStringLiteral("CKeepOnTop1"))->isChecked();
}

bool UtilityOptionsDialog::execute()
{
    m_accepted = false;
    // Read only while the window still exists.
    return showModalUntilHidden() && m_accepted;
}

void UtilityOptionsDialog::accept()
{
    auto checked = [this](const char* name) { return box(QLatin1String(name))->isChecked(); };
    runCommand([&] {
        if (m_clipBook) {
            m_clipBook->setFileAutoComplete(checked("CFAutoComplete1"));
            m_clipBook->setTemplateAutoComplete(checked("CAutoComplete1"));
            m_clipBook->setFileToolBarsShown(checked("CFShowToolBars1"));
            m_clipBook->setItemToolBarsShown(checked("CShowToolBars1"));
            m_clipBook->setStatusBarShown(checked("CShowStatusBar1"));
        }
        if (m_documentSelector) {
            if (checked("DSShowToolBar1"))
                m_documentSelector->showToolBar();
            else
                m_documentSelector->hideToolBar();
            m_documentSelector->setStatusBarShown(checked("DSShowStatusBar1"));
            if (m_documentSelector->storage())
                m_documentSelector->storage()->setActive(checked("DSSaveWPos1"));
        }
    });
    m_accepted = true;
    close();
}

void UtilityOptionsDialog::reject()
{
    // The boxes keep what they were given: Cancel only closes.
    m_accepted = false;
    close();
}

void UtilityOptionsDialog::chooseFont(int page)
{
    const std::optional<QFont> font = Prompts::current().chooseFont(QFont());
    if (!font)
        return;
    if (page == 0 && m_clipBook)
        m_clipBook->setFileViewFont(*font);
    else if (page == 1 && m_documentSelector)
        m_documentSelector->setListFont(*font);
    else if (page == 2 && m_clipBook)
        m_clipBook->setItemViewFont(*font);
}

void UtilityOptionsDialog::keyPressEvent(QKeyEvent* event)
{
    if (!handleDialogKey(
            event, [this] { accept(); }, [this] { reject(); }))
        WindowBase::keyPressEvent(event);
}

void UtilityOptionsDialog::showEvent(QShowEvent* event)
{
    WindowBase::showEvent(event);
    // Typing starts on the first box of the page shown.
    if (QWidget* page = m_pages->currentWidget())
        if (auto* first = page->findChild<QCheckBox*>())
            first->setFocus();
}
