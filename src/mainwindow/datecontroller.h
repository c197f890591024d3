#pragma once
// The date and time stamps: six fixed patterns and the options window's Date Time Filter, each
// inserting ">>" and the formatted time before any selection; the ".LOG" stamp on open; the
// "Time" switch's stamp line. The pattern last used is the current stamp format, which the
// ".LOG" stamp reuses.

#include <QByteArray>
#include <QString>

class DocumentSet;
class EditorViews;
struct ProgramWindows;

class DateController
{
public:
    DateController(DocumentSet& documents, EditorViews& views, const ProgramWindows& windows);

    // The options window's Date Time Filter (F5, the Insert Time button, the clock panel).
    void insertFilterStamp();
    void insertShortDateAndTime();
    void insertShortDate();
    void insertShortTime();
    void insertLongDate();
    void insertLongTime();
    void insertLongDateAndTime();

    // A document whose first line is exactly ".LOG" gets a stamp line appended.
    void logStampCheck();
    // The "Time" switch: a date and time line appended to the current document.
    void appendTimeStamp();

    QString stampFormat() const { return m_stampFormat; }
    void setStampFormat(const QString& pattern) { m_stampFormat = pattern; }

private:
    void insertStamp(const QString& pattern);

    DocumentSet& m_documents;
    EditorViews& m_views;
    const ProgramWindows& m_windows;
    QString m_stampFormat;
};
