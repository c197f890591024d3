#include "windows/templatenamedialog.h"

#include "commands/clipbookstore.h"
#include "core/prompts.h"

#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

namespace {

const QString TooShortTitle = QStringLiteral("New Template name too short");
const QString TooShortText = QStringLiteral("You must type a name for the new Template. \nPlease make sure that the "
                                            "name of the new Template is larger than 0 Characters.");
const QString RefusedTitle = QStringLiteral("Template name not allowed");
const QString RefusedText = QStringLiteral("A template is kept as a file of that name in its folder, so its name "
                                           "cannot be \".\" or \"..\" nor hold \"/\", \"\\\" or a NUL "
                                           "character.\nPlease type another name.");

QLabel* makeLabel(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLineEdit* makeField(const QString& name, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    // A name has no length limit: the field never cuts what it is given.
    field->setMaxLength(std::numeric_limits<int>::max());
    field->setObjectName(name);
    return field;
}

// A panel asking for one name: its label over its field. Returns the field.
QLineEdit* makeNamePanel(QWidget* panel, const QString& labelText, const QString& labelName, const QString& fieldName)
{
    QLineEdit* field = makeField(fieldName, panel);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    QLabel* label = makeLabel(labelText, labelName, panel);
    label->setBuddy(field);
    layout->addWidget(label);
    layout->addWidget(field);
    layout->addStretch();
    return field;
}

} // namespace

TemplateNameDialog::TemplateNameDialog(QWidget* parent)
    : WindowBase(QStringLiteral("RenameTempForm1"), QStringLiteral("Rename Template"), QSize(289, 140), true, parent,
                 {QStringLiteral("Rename"), WindowSettings::ShowState | WindowSettings::Position},
                 captionmath::GradientMode::Smart)
{
    m_renamePanel = new QWidget(this);
    m_renamePanel->setObjectName(QStringLiteral("RenamePanel1"));
    m_currentName = makeField(QStringLiteral("Edit1"), m_renamePanel);
    m_currentName->setReadOnly(true);
    m_currentName->setEnabled(false);
    m_newName = makeField(QStringLiteral("Edit2"), m_renamePanel);
    auto* renameLayout = new QVBoxLayout(m_renamePanel);
    renameLayout->setContentsMargins(0, 0, 0, 0);
    renameLayout->addWidget(makeLabel(QStringLiteral("Rename..."), QStringLiteral("Label1"), m_renamePanel));
    renameLayout->addWidget(m_currentName);
    QLabel* toLabel = makeLabel(QStringLiteral("To..."), QStringLiteral("Label2"), m_renamePanel);
    toLabel->setBuddy(m_newName);
    renameLayout->addWidget(toLabel);
    renameLayout->addWidget(m_newName);

    m_newTemplatePanel = new QWidget(this);
    m_newTemplatePanel->setObjectName(QStringLiteral("NewTempPanel1"));
    m_newTemplateName = makeNamePanel(m_newTemplatePanel, QStringLiteral("Enter Name of Template Here:"),
                                      QStringLiteral("Label3"), QStringLiteral("NewTempEdit1"));

    m_newFilePanel = new QWidget(this);
    m_newFilePanel->setObjectName(QStringLiteral("Panel1"));
    m_newFileTemplateName = makeNamePanel(m_newFilePanel, QStringLiteral("Enter Name of File Template \r\nHere:"),
                                          QStringLiteral("Label4"), QStringLiteral("Edit3"));

    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("RenameOK1"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("NewTempCan1"));

    auto* panels = new QVBoxLayout;
    panels->addWidget(m_renamePanel);
    panels->addWidget(m_newTemplatePanel);
    panels->addWidget(m_newFilePanel);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(panels, 1);
    layout->addLayout(buttons);

    connect(m_okButton, &QPushButton::clicked, this, &TemplateNameDialog::pressOk);
    connect(m_cancelButton, &QPushButton::clicked, this, &QWidget::close);
    prepare(Mode::NewTemplate);
}

QLineEdit* TemplateNameDialog::nameField() const
{
    switch (m_mode) {
    case Mode::NewTemplate:
        return m_newTemplateName;
    case Mode::NewFileTemplate:
        return m_newFileTemplateName;
    case Mode::RenameTemplate:
    case Mode::RenameFileTemplate:
        break;
    }
    return m_newName;
}

void TemplateNameDialog::prepare(Mode mode, const QString& currentName)
{
    m_mode = mode;
    const bool renaming = mode == Mode::RenameTemplate || mode == Mode::RenameFileTemplate;
    m_renamePanel->setVisible(renaming);
    m_newTemplatePanel->setVisible(mode == Mode::NewTemplate);
    m_newFilePanel->setVisible(mode == Mode::NewFileTemplate);
    int height = 140;
    switch (mode) {
    case Mode::NewTemplate:
        captionBar()->setPartCaption(CaptionBar::Part::ProductText, QStringLiteral("Add New Template"));
        height = 100;
        break;
    case Mode::RenameTemplate:
        captionBar()->setPartCaption(CaptionBar::Part::ProductText, QStringLiteral("Rename Template"));
        break;
    case Mode::NewFileTemplate:
        captionBar()->setPartCaption(CaptionBar::Part::ProductText, QStringLiteral("Add New File Template"));
        height = 108;
        break;
    case Mode::RenameFileTemplate:
        captionBar()->setPartCaption(CaptionBar::Part::ProductText, QStringLiteral("Rename File Template"));
        break;
    }
    setDesignedSize(QSize(289, height));
    m_newName->clear();
    m_newTemplateName->clear();
    m_newFileTemplateName->clear();
    m_currentName->setText(currentName);
}

void TemplateNameDialog::execute(Mode mode, const QString& currentName, Accept accept)
{
    prepare(mode, currentName);
    m_accept = std::move(accept);
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    nameField()->setFocus();
    QEventLoop loop;
    m_loop = &loop;
    loop.exec();
    m_loop = nullptr;
    m_accept = nullptr;
}

void TemplateNameDialog::pressOk()
{
    const QString name = nameField()->text();
    switch (clipbook::checkName(name)) {
    case clipbook::NameProblem::Empty:
        Prompts::current().warning(TooShortTitle, TooShortText);
        nameField()->setFocus();
        return;
    case clipbook::NameProblem::NotInFolder:
        Prompts::current().warning(RefusedTitle, RefusedText);
        nameField()->setFocus();
        nameField()->selectAll();
        return;
    case clipbook::NameProblem::None:
        break;
    }
    if (!m_accept || m_accept(name))
        close();
    else
        nameField()->setFocus();
}

void TemplateNameDialog::hideEvent(QHideEvent* event)
{
    WindowBase::hideEvent(event);
    if (m_loop)
        m_loop->quit();
}

void TemplateNameDialog::keyPressEvent(QKeyEvent* event)
{
    if (!handleDialogKey(
            event, [this] { pressOk(); }, [this] { close(); }))
        WindowBase::keyPressEvent(event);
}
