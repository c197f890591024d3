#include "windows/gotolinedialog.h"

#include "editor/editorview.h"
#include "settings/storedprops.h"

#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <climits>

GotoLineDialog* ScrollBox1 = nullptr;

GotoLineDialog::GotoLineDialog(QWidget* parent)
    : WindowBase(QStringLiteral("ScrollBox1"), QStringLiteral("Goto Line... "), QSize(361, 100), true, parent,
            {QStringLiteral("Scroll"), WindowSettings::fpState | WindowSettings::fpPosition})
{
    auto* label = new QLabel(QStringLiteral("Enter line number here:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QSpinBox(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    label->setBuddy(Edit1);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    Cancel->setObjectName(QStringLiteral("BitBtn2"));
    applyRange();

    auto* fieldRow = new QHBoxLayout;
    fieldRow->addWidget(label);
    fieldRow->addWidget(Edit1, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(BitBtn1);
    buttonRow->addWidget(Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fieldRow);
    layout->addLayout(buttonRow);

    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        if (m_target)
            BitBtn1Click(*m_target);
        close();
    });
    connect(Cancel, &QPushButton::clicked, this, &QWidget::close);

    using namespace storedprops;
    WindowSettings& s = *FormStorage1;
    addInteger(
        s, QStringLiteral("Edit1.MinValue"), [this] { return minValue(); }, [this](qint32 v) { setMinValue(v); });
    addInteger(
        s, QStringLiteral("Edit1.MaxValue"), [this] { return maxValue(); }, [this](qint32 v) { setMaxValue(v); });
    // The value after its bounds, so that restoring it is not clamped to the built-in range.
    addInteger(
        s, QStringLiteral("Edit1.Value"), [this] { return value(); }, [this](qint32 v) { setValue(v); });
    addInteger(
        s, QStringLiteral("Edit1.Increment"), [this] { return increment(); }, [this](qint32 v) { setIncrement(v); });
}

int GotoLineDialog::value() const
{
    return Edit1->value();
}

void GotoLineDialog::setValue(int value)
{
    Edit1->setValue(value);
}

void GotoLineDialog::setMinValue(int value)
{
    m_minValue = value;
    applyRange();
}

void GotoLineDialog::setMaxValue(int value)
{
    m_maxValue = value;
    applyRange();
}

int GotoLineDialog::increment() const
{
    return Edit1->singleStep();
}

void GotoLineDialog::setIncrement(int value)
{
    Edit1->setSingleStep(value);
}

void GotoLineDialog::applyRange()
{
    // Equal bounds mean "no bounds"; otherwise entries are brought into the range. Stored
    // bounds in the wrong order still leave a usable field.
    if (m_minValue == m_maxValue)
        Edit1->setRange(INT_MIN, INT_MAX);
    else
        Edit1->setRange(qMin(m_minValue, m_maxValue), qMax(m_minValue, m_maxValue));
}

int GotoLineDialog::lineCount(const EditorView& editor)
{
    const qint64 length = editor.textLength();
    if (length == 0)
        return 0;
    qint64 lines = editor.SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT);
    const qint64 lastStart =
        editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(lines - 1));
    if (lastStart == length)
        --lines;
    return static_cast<int>(qMin<qint64>(lines, INT_MAX));
}

void GotoLineDialog::gotoLine(EditorView& editor, int number)
{
    // The field offers 0..line count; the status bar counts lines from 1, so N is that line.
    const qint64 line = qBound<qint64>(0, qint64(number) - 1, qint64(qMax(0, lineCount(editor) - 1)));
    const qint64 pos = editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    editor.setCaret(pos);
}

void GotoLineDialog::FormShow(const EditorView& editor)
{
    setMaxValue(lineCount(editor));
}

void GotoLineDialog::BitBtn1Click(EditorView& editor)
{
    Edit1->interpretText(); // a value still being typed counts
    gotoLine(editor, Edit1->value());
}

void GotoLineDialog::execute(EditorView& editor)
{
    m_target = &editor;
    FormShow(editor);
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    Edit1->setFocus();
    Edit1->selectAll();
    QEventLoop loop;
    m_loop = &loop;
    loop.exec();
    m_loop = nullptr;
    m_target = nullptr;
}

void GotoLineDialog::hideEvent(QHideEvent* event)
{
    WindowBase::hideEvent(event);
    if (m_loop)
        m_loop->quit();
}
