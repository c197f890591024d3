#include "windows/finddialogs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

FindDialog::FindDialog(QWidget* parent) : FindDialog(QStringLiteral("Find"), false, parent)
{
    setObjectName(QStringLiteral("FindDialog1"));
    // Start-up options: Down, Match case and Whole word.
    m_wholeWord->setChecked(true);
    m_matchCase->setChecked(true);
}

FindDialog::FindDialog(const QString& title, bool withReplace, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(title);
    setModal(false);

    auto* fields = new QGridLayout;
    m_findEdit = new QLineEdit(this);
    auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    findLabel->setBuddy(m_findEdit);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_findEdit, 0, 1);
    if (withReplace) {
        m_replaceEdit = new QLineEdit(this);
        auto* replaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
        replaceLabel->setBuddy(m_replaceEdit);
        fields->addWidget(replaceLabel, 1, 0);
        fields->addWidget(m_replaceEdit, 1, 1);
    }

    m_wholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    m_matchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    m_up = new QRadioButton(QStringLiteral("&Up"), direction);
    m_down = new QRadioButton(QStringLiteral("&Down"), direction);
    m_down->setChecked(true);
    auto* directionRow = new QHBoxLayout(direction);
    directionRow->addWidget(m_up);
    directionRow->addWidget(m_down);

    auto* boxes = new QVBoxLayout;
    boxes->addWidget(m_wholeWord);
    boxes->addWidget(m_matchCase);
    auto* optionsRow = new QHBoxLayout;
    optionsRow->addLayout(boxes);
    optionsRow->addWidget(direction);

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(optionsRow);
    left->addStretch();

    auto* buttons = new QVBoxLayout;
    m_findNext = new QPushButton(QStringLiteral("&Find Next"), this);
    m_findNext->setDefault(true);
    buttons->addWidget(m_findNext);
    if (withReplace) {
        m_replace = new QPushButton(QStringLiteral("&Replace"), this);
        m_replaceAll = new QPushButton(QStringLiteral("Replace &All"), this);
        buttons->addWidget(m_replace);
        buttons->addWidget(m_replaceAll);
    }
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(buttons);

    connect(m_findNext, &QPushButton::clicked, this, &FindDialog::find);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString FindDialog::findText() const
{
    return m_findEdit->text();
}

void FindDialog::setFindText(const QString& text)
{
    m_findEdit->setText(text);
}

findreplace::Options FindDialog::options() const
{
    return {m_matchCase->isChecked(), m_wholeWord->isChecked()};
}

void FindDialog::execute()
{
    show();
    raise();
    activateWindow();
}

ReplaceDialog::ReplaceDialog(QWidget* parent) : FindDialog(QStringLiteral("Replace"), true, parent)
{
    setObjectName(QStringLiteral("ReplaceDialog1"));
    connect(m_replace, &QPushButton::clicked, this, [this] { emit replace(false); });
    connect(m_replaceAll, &QPushButton::clicked, this, [this] { emit replace(true); });
}

QString ReplaceDialog::replaceText() const
{
    return m_replaceEdit->text();
}

void ReplaceDialog::setReplaceText(const QString& text)
{
    m_replaceEdit->setText(text);
}
