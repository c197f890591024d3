// The Insert Date And Time commands: six fixed patterns and the options window's Date Time
// Filter. Each one becomes the current stamp format (which the ".LOG" stamp reuses) and inserts
// ">>" and the formatted time before any selection.

#include "commands/datestamp.h"
#include "mainwindow/mainwindow.h"
#include "editor/editorview.h"
#include "windows/optionsdialog.h"

namespace {

void insertStamp(MainWindow& form, const QString& pattern)
{
    form.setStampFormat(pattern);
    EditorView* editor = form.editor();
    // The selection is kept, not replaced: the stamp goes in front of it.
    editor->setCaret(editor->selStart());
    const QByteArray stamp = StampSource::stamp(pattern);
    // Replace-selection on an empty selection is one undoable insertion that leaves the caret
    // after the inserted text.
    editor->SendScintilla(QsciScintillaBase::SCI_REPLACESEL, 0UL, stamp.constData());
    form.documents().markCurrentModified();
}

} // namespace

void MainWindow::DateTimeFilter1Click()
{
    TimeBtn1Click();
}

void MainWindow::TimeBtn1Click()
{
    // Read now, so a filter changed in the options window counts at once.
    insertStamp(*this, QuilletOp ? QuilletOp->dateTimeFilter() : QString());
}

void MainWindow::ShortDateAndTime1Click()
{
    insertStamp(*this, QStringLiteral("dd/mm/yy hh:nn"));
}

void MainWindow::ShortDate1Click()
{
    insertStamp(*this, QStringLiteral("dd/mm/yy"));
}

void MainWindow::ShortTime1Click()
{
    insertStamp(*this, QStringLiteral("hh:nn"));
}

void MainWindow::LongDate1Click()
{
    insertStamp(*this, QStringLiteral("dddddd/mmmm/yyyy"));
}

void MainWindow::LongTime1Click()
{
    insertStamp(*this, QStringLiteral("hh:nn:ss ampm"));
}

void MainWindow::LongDateAndTime1Click()
{
    insertStamp(*this, QStringLiteral("dddddd/mmmm/yyyy hh:nn:ss ampm"));
}
