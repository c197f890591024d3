#include "mainwindow/datecontroller.h"

#include "commands/datestamp.h"
#include "documents/documentset.h"
#include "editor/editorview.h"
#include "editor/editorviews.h"
#include "mainwindow/programwindows.h"
#include "windows/optionsdialog.h"

namespace {
const QString TimeSwitchPattern = QStringLiteral("dddd dd/mmmm/yyyy hh:nn:ss ampm");
} // namespace

DateController::DateController(DocumentSet& documents, EditorViews& views, const ProgramWindows& windows)
    : m_documents(documents), m_views(views), m_windows(windows)
{}

void DateController::insertStamp(const QString& pattern)
{
    m_stampFormat = pattern;
    EditorView* editor = m_views.current();
    // The selection is kept, not replaced: the stamp goes in front of it.
    editor->setCaret(editor->selStart());
    const QByteArray stamp = StampSource::stamp(pattern);
    // Replace-selection on an empty selection is one undoable insertion that leaves the caret
    // after the inserted text.
    editor->send(SCI_REPLACESEL, 0UL, stamp.constData());
    m_documents.markCurrentModified();
}

void DateController::insertFilterStamp()
{
    // Read now, so a filter changed in the options window counts at once.
    insertStamp(OptionsDialog::valuesOf(m_windows.options).dateTimeFilter);
}

void DateController::insertShortDateAndTime()
{
    insertStamp(QStringLiteral("dd/mm/yy hh:nn"));
}

void DateController::insertShortDate()
{
    insertStamp(QStringLiteral("dd/mm/yy"));
}

void DateController::insertShortTime()
{
    insertStamp(QStringLiteral("hh:nn"));
}

void DateController::insertLongDate()
{
    insertStamp(QStringLiteral("dddddd/mmmm/yyyy"));
}

void DateController::insertLongTime()
{
    insertStamp(QStringLiteral("hh:nn:ss ampm"));
}

void DateController::insertLongDateAndTime()
{
    insertStamp(QStringLiteral("dddddd/mmmm/yyyy hh:nn:ss ampm"));
}

void DateController::logStampCheck()
{
    EditorView* editor = m_views.current();
    // Line 0 without its line break must be ".LOG" exactly.
    const qint64 lineEnd = editor->send(SCI_GETLINEENDPOSITION, 0UL);
    if (lineEnd != 4 || editor->textView().first(4) != QByteArrayView(".LOG"))
        return;
    editor->appendLine(StampSource::stamp(m_stampFormat));
    // The document stays "Not Modified"; the editor's own flag is set, so the next key marks it.
    editor->setCaret(editor->textLength());
}

void DateController::appendTimeStamp()
{
    m_views.current()->appendLine(
        formatDateTime(TimeSwitchPattern, QDateTime::currentDateTime(), DateTimeLocale::fromQLocale(QLocale::system()))
            .toUtf8());
    m_documents.markCurrentModified();
}
