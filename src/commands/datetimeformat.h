#pragma once
// The pattern language of the date and time stamps ("dd/mm/yy hh:nn", "c", "ampm", ...) and
// the locale data it draws on. Pure logic: the stamp commands, the ".LOG" stamp and the "Time"
// switch format through here with DateTimeLocale::fromQLocale(QLocale::system()); tests pass
// a fixed locale so results do not depend on the machine.

#include <QString>

#include <array>

class QDateTime;
class QLocale;

struct DateTimeLocale
{
    // The system's date and time formats, written in the pattern language below (as the
    // Windows locale writes them), so a "/" or ":" in them follows the separators here.
    // They may not use c, ddddd, dddddd, t or tt: those produce nothing inside a format.
    QString shortDateFormat;
    QString longDateFormat;
    QString shortTimeFormat;
    QString longTimeFormat;

    // Monday first, as QDate::dayOfWeek() counts: index dayOfWeek() - 1.
    std::array<QString, 7> shortDayNames;
    std::array<QString, 7> longDayNames;
    // January first: index month() - 1.
    std::array<QString, 12> shortMonthNames;
    std::array<QString, 12> longMonthNames;

    QString dateSeparator;
    QString timeSeparator;
    QString amDesignator;
    QString pmDesignator;

    // Derives everything from a Qt locale. Qt's formats are translated into the pattern
    // language; their time-zone and millisecond fields are dropped, since a stamp carries
    // neither. The separators are the first non-blank text between two fields of the short
    // date and short time formats ("/" and ":" when there is none). Month names are the
    // forms Qt uses inside dates (genitive where the language has one).
    static DateTimeLocale fromQLocale(const QLocale& locale);
};

// Formats `when` with `pattern`:
//   c            short date, a blank, long time (the time left out at exactly midnight)
//   d dd         day of month; ddd dddd day name; ddddd dddddd short / long date
//   m mm         month number, or minutes when the last field before it was h or hh
//   mmm mmmm     month name
//   yy yyyy      year
//   h hh         hour, 1-12 when the pattern holds am/pm, a/p or ampm anywhere, else 0-23
//   n nn, s ss   minute, second
//   t tt         short / long time
//   am/pm a/p    morning or afternoon marker, copied in the letter case of the pattern
//   ampm         the locale's designator
//   / and :      date and time separator
// Letters are case-insensitive; text in single or double quotes is copied without its quotes
// (an unclosed quote runs to the end); everything else is copied. An empty pattern means "c".
// A run of one letter is one field, however long: a run longer than the longest field of that
// letter counts as the longest ("yyyyy" is yyyy, "ddddddd" is dddddd), and "y" and "yyy"
// count as yy and yyyy. Each "c" is a field of its own.
QString formatDateTime(const QString& pattern, const QDateTime& when, const DateTimeLocale& locale);
