#include "windows/gotolinedialog.h"

#include "editor/editorview.h"
#include "settings/storedprops.h"

#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace {

// A whole-number field that takes any number as typed and brings it into its range when the
// entry is done (Enter, OK, leaving the field); something that is not a number reads as the
// minimum. QSpinBox alone refuses the keys of a number above its maximum.
class LineNumberSpin : public QSpinBox
{
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& input, int& /*pos*/) const override
    {
        const QString text = input.trimmed();
        if (text.isEmpty() || text == QLatin1String("-") || text == QLatin1String("+"))
            return QValidator::Intermediate;
        bool ok = false;
        const qlonglong number = text.toLongLong(&ok);
        if (!ok)
            return QValidator::Invalid;
        return number >= minimum() && number <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
    }

    void fixup(QString& input) const override
    {
        bool ok = false;
        const qlonglong number = input.trimmed().toLongLong(&ok);
        input = QString::number(ok ? std::clamp<qlonglong>(number, minimum(), maximum()) : minimum());
    }
};

} // namespace

GotoLineDialog::GotoLineDialog(QWidget* parent)
    : WindowBase(QStringLiteral("ScrollBox1"), QStringLiteral("Goto Line..."), QSize(361, 100), true, parent,
                 {QStringLiteral("Scroll"), WindowSettings::ShowState | WindowSettings::Position})
{
    // A visible, empty application name leaves a blank after the product text in the title.
    captionBar()->setPartVisible(CaptionBar::Part::AppNameText, true);
    auto* label = new QLabel(QStringLiteral("Enter line number here:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    m_lineSpin = new LineNumberSpin(this);
    m_lineSpin->setObjectName(QStringLiteral("Edit1"));
    label->setBuddy(m_lineSpin);
    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("BitBtn1"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("BitBtn2"));
    applyRange();

    auto* fieldRow = new QHBoxLayout;
    fieldRow->addWidget(label);
    fieldRow->addWidget(m_lineSpin, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_okButton);
    buttonRow->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fieldRow);
    layout->addLayout(buttonRow);

    connect(m_okButton, &QPushButton::clicked, this, &GotoLineDialog::pressOk);
    connect(m_cancelButton, &QPushButton::clicked, this, &QWidget::close);

    using namespace storedprops;
    WindowSettings& s = *storage();
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

void GotoLineDialog::pressOk()
{
    if (m_target)
        goToEnteredLine(*m_target);
    close();
}

void GotoLineDialog::keyPressEvent(QKeyEvent* event)
{
    if (!handleDialogKey(
            event, [this] { pressOk(); }, [this] { close(); }))
        WindowBase::keyPressEvent(event);
}

int GotoLineDialog::value() const
{
    return m_lineSpin->value();
}

void GotoLineDialog::setValue(int value)
{
    m_lineSpin->setValue(value);
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
    return m_lineSpin->singleStep();
}

void GotoLineDialog::setIncrement(int value)
{
    m_lineSpin->setSingleStep(value);
}

void GotoLineDialog::applyRange()
{
    // Equal bounds mean "no bounds"; otherwise entries are brought into the range. Stored
    // bounds in the wrong order still leave a usable field.
    if (m_minValue == m_maxValue)
        m_lineSpin->setRange(INT_MIN, INT_MAX);
    else
        m_lineSpin->setRange(qMin(m_minValue, m_maxValue), qMax(m_minValue, m_maxValue));
}

int GotoLineDialog::lineCount(const EditorView& editor)
{
    const qint64 length = editor.textLength();
    if (length == 0)
        return 0;
    qint64 lines = editor.send(SCI_GETLINECOUNT);
    const qint64 lastStart = editor.send(SCI_POSITIONFROMLINE, static_cast<unsigned long>(lines - 1));
    if (lastStart == length)
        --lines;
    return static_cast<int>(qMin<qint64>(lines, INT_MAX));
}

void GotoLineDialog::gotoLine(EditorView& editor, int number)
{
    // The field offers 0..line count; the status bar counts lines from 1, so N is that line.
    const qint64 line = qBound<qint64>(0, qint64(number) - 1, qint64(qMax(0, lineCount(editor) - 1)));
    const qint64 pos = editor.send(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    editor.setCaret(pos);
}

void GotoLineDialog::limitToLinesOf(const EditorView& editor)
{
    setMaxValue(lineCount(editor));
}

void GotoLineDialog::goToEnteredLine(EditorView& editor)
{
    m_lineSpin->interpretText(); // a value still being typed counts
    gotoLine(editor, m_lineSpin->value());
}

void GotoLineDialog::execute(EditorView& editor)
{
    m_target = &editor;
    limitToLinesOf(editor);
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    m_lineSpin->setFocus();
    m_lineSpin->selectAll();
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
