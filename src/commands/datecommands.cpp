// The Insert Date And Time commands: six fixed patterns and the options window's Date Time
// Filter. Each one becomes the current stamp format (which the ".LOG" stamp reuses) and inserts
// ">>" and the formatted time before any selection.

#include "commands/datecommands.h"
#include "app/quilform1.h"
#include "documents/richexporter.h"
#include "settings/quilletop.h"

namespace {

void insertStamp(TQuilForm1& form, const QString& pattern)
{
    form.setStampFormat(pattern);
    TRichExporter* editor = form.editor();
    // The selection is kept, not replaced: the stamp goes in front of it.
    editor->setCaret(editor->selStart());
    const QByteArray stamp = StampSource::stamp(pattern);
    // Replace-selection on an empty selection is one undoable insertion that leaves the caret
    // after the inserted text.
    editor->SendScintilla(QsciScintillaBase::SCI_REPLACESEL, 0UL, stamp.constData());
    form.documents().markCurrentModified();
}

} // namespace

void TQuilForm1::DateTimeFilter1Click()
{
    TimeBtn1Click();
}

void TQuilForm1::TimeBtn1Click()
{
    // Read now, so a filter changed in the options window counts at once.
    insertStamp(*this, QuilletOp ? QuilletOp->dateTimeFilter() : QString());
}

void TQuilForm1::ShortDateAndTime1Click()
{
    insertStamp(*this, QStringLiteral("dd/mm/yy hh:nn"));
}

void TQuilForm1::ShortDate1Click()
{
    insertStamp(*this, QStringLiteral("dd/mm/yy"));
}

void TQuilForm1::ShortTime1Click()
{
    insertStamp(*this, QStringLiteral("hh:nn"));
}

void TQuilForm1::LongDate1Click()
{
    insertStamp(*this, QStringLiteral("dddddd/mmmm/yyyy"));
}

void TQuilForm1::LongTime1Click()
{
    insertStamp(*this, QStringLiteral("hh:nn:ss ampm"));
}

void TQuilForm1::LongDateAndTime1Click()
{
    insertStamp(*this, QStringLiteral("dddddd/mmmm/yyyy hh:nn:ss ampm"));
}
