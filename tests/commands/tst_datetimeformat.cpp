// The date-and-time pattern language of the stamp commands, with locales fixed so the results
// do not depend on the machine running the tests.

#include "commands/datetimeformat.h"

#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QTest>

namespace {

const DateTimeLocale& localeNamed(const QString& name)
{
    static QHash<QString, DateTimeLocale> cache;
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.insert(name, DateTimeLocale::fromQLocale(QLocale(name)));
    return *it;
}

QDateTime at(int year, int month, int day, int hour, int minute, int second, int msec = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec));
}

// Sunday 6 December 2026, 14:05:09: two-digit day, month and hour.
const QDateTime sunday = at(2026, 12, 6, 14, 5, 9);
// Monday 2 March 2026, 00:07:08: single digits everywhere, hour 0.
const QDateTime monday = at(2026, 3, 2, 0, 7, 8);

void columns()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("expected");
}

void row(const char* name, const QString& locale, const QString& pattern, const QDateTime& when,
         const QString& expected)
{
    QTest::newRow(name) << locale << pattern << when << expected;
}

} // namespace

class TestDateTimeFormat : public QObject
{
    Q_OBJECT

private slots:
    void numberFields_data();
    void numberFields() { check(); }
    void namesFollowLocale_data();
    void namesFollowLocale() { check(); }
    void localeFormats_data();
    void localeFormats() { check(); }
    void twelveHourClock_data();
    void twelveHourClock() { check(); }
    void minutesAfterHour_data();
    void minutesAfterHour() { check(); }
    void markersKeepPatternCase_data();
    void markersKeepPatternCase() { check(); }
    void quotedAndCopiedText_data();
    void quotedAndCopiedText() { check(); }
    void longRuns_data();
    void longRuns() { check(); }
    void stampCommandPatterns_data();
    void stampCommandPatterns() { check(); }

    void separatorsAndDesignatorsComeFromLocale();
    void localeFromQt();
    void localeFormatsAgreeWithQt();
    void invalidDateTimeGivesNoNames();

private:
    void check()
    {
        QFETCH(QString, locale);
        QFETCH(QString, pattern);
        QFETCH(QDateTime, when);
        QFETCH(QString, expected);
        QCOMPARE(formatDateTime(pattern, when, localeNamed(locale)), expected);
    }
};

void TestDateTimeFormat::numberFields_data()
{
    columns();
    row("d two digits", "en_GB", "d", sunday, "6");
    row("d single digit", "en_GB", "d", monday, "2");
    row("dd pads", "en_GB", "dd", monday, "02");
    row("dd two digits", "en_GB", "dd", at(2026, 12, 16, 0, 0, 0), "16");
    row("m single digit", "en_GB", "m", monday, "3");
    row("m two digits", "en_GB", "m", sunday, "12");
    row("mm pads", "en_GB", "mm", monday, "03");
    row("yy", "en_GB", "yy", sunday, "26");
    row("yyyy", "en_GB", "yyyy", sunday, "2026");
    row("yy early year", "en_GB", "yy", at(907, 5, 4, 0, 0, 0), "07");
    row("yyyy early year pads", "en_GB", "yyyy", at(907, 5, 4, 0, 0, 0), "0907");
    row("h 24-hour", "en_GB", "h", sunday, "14");
    row("h hour 0", "en_GB", "h", monday, "0");
    row("hh pads", "en_GB", "hh", monday, "00");
    row("hh 23", "en_GB", "hh", at(2026, 3, 2, 23, 0, 0), "23");
    row("n", "en_GB", "n", monday, "7");
    row("nn pads", "en_GB", "nn", monday, "07");
    row("nn two digits", "en_GB", "nn", at(2026, 3, 2, 0, 59, 0), "59");
    row("s", "en_GB", "s", monday, "8");
    row("ss pads", "en_GB", "ss", monday, "08");
    row("ss two digits", "en_GB", "ss", sunday, "09");
    row("letters ignore case", "en_GB", "D-DD-M-MM-YY-YYYY-H-HH-N-NN-S-SS", monday, "2-02-3-03-26-2026-0-00-7-07-8-08");
    row("same in German", "de_DE", "d-dd-m-mm-yy-yyyy-h-hh-n-nn-s-ss", monday, "2-02-3-03-26-2026-0-00-7-07-8-08");
}

void TestDateTimeFormat::namesFollowLocale_data()
{
    columns();
    row("ddd English", "en_GB", "ddd", sunday, "Sun");
    row("dddd English", "en_GB", "dddd", sunday, "Sunday");
    row("dddd Monday", "en_US", "dddd", monday, "Monday");
    row("ddd German", "de_DE", "ddd", sunday, "So.");
    row("dddd German", "de_DE", "dddd", sunday, "Sonntag");
    row("dddd German Monday", "de_DE", "dddd", monday, "Montag");
    row("mmm English", "en_GB", "mmm", sunday, "Dec");
    row("mmmm English", "en_GB", "mmmm", monday, "March");
    row("mmm German", "de_DE", "mmm", monday, "März");
    row("mmmm German", "de_DE", "mmmm", sunday, "Dezember");
    row("ampm English GB", "en_GB", "ampm", sunday, "pm");
    row("ampm English US", "en_US", "ampm", sunday, "PM");
    row("ampm morning", "en_US", "ampm", monday, "AM");
    row("AMPM any case", "en_US", "AmPm", monday, "AM");
    row("ampm German", "de_DE", "ampm", sunday, "PM");
    row("date separator English", "en_GB", "/", sunday, "/");
    row("date separator German", "de_DE", "/", sunday, ".");
    row("time separator Finnish", "fi_FI", "h:nn", sunday, "14.05");
}

void TestDateTimeFormat::localeFormats_data()
{
    columns();
    const QDateTime midnight = at(2026, 12, 6, 0, 0, 0);
    row("c English GB", "en_GB", "c", sunday, "06/12/2026 14:05:09");
    row("c English US", "en_US", "c", sunday, "12/6/26 2:05:09 PM");
    row("c German", "de_DE", "c", sunday, "06.12.26 14:05:09");
    row("C upper case", "de_DE", "C", sunday, "06.12.26 14:05:09");
    row("c at midnight leaves out the time", "en_GB", "c", midnight, "06/12/2026");
    row("c at midnight German", "de_DE", "c", midnight, "06.12.26");
    row("c one second after midnight", "en_GB", "c", at(2026, 12, 6, 0, 0, 1), "06/12/2026 00:00:01");
    row("c one millisecond after midnight", "en_GB", "c", at(2026, 12, 6, 0, 0, 0, 1), "06/12/2026 00:00:00");
    row("c just before midnight", "en_US", "c", at(2026, 12, 6, 23, 59, 59), "12/6/26 11:59:59 PM");
    row("c among text", "en_GB", "<c>", midnight, "<06/12/2026>");
    row("empty pattern is c", "en_GB", "", sunday, "06/12/2026 14:05:09");
    row("empty pattern at midnight", "de_DE", "", midnight, "06.12.26");
    row("ddddd English GB", "en_GB", "ddddd", monday, "02/03/2026");
    row("ddddd English US", "en_US", "ddddd", monday, "3/2/26");
    row("ddddd German", "de_DE", "ddddd", monday, "02.03.26");
    row("dddddd English GB", "en_GB", "dddddd", sunday, "Sunday, 6 December 2026");
    row("dddddd English US", "en_US", "dddddd", sunday, "Sunday, December 6, 2026");
    row("dddddd German", "de_DE", "dddddd", monday, "Montag, 2. März 2026");
    row("t English GB", "en_GB", "t", sunday, "14:05");
    row("t English US", "en_US", "t", sunday, "2:05 PM");
    row("t English US after midnight", "en_US", "t", monday, "12:07 AM");
    row("t German", "de_DE", "t", monday, "00:07");
    row("tt English GB", "en_GB", "tt", sunday, "14:05:09");
    row("tt English US", "en_US", "tt", monday, "12:07:08 AM");
    row("tt German", "de_DE", "TT", sunday, "14:05:09");
    row("locale format does not make the pattern 12-hour", "en_US", "t hh", sunday, "2:05 PM 14");
    row("pattern marker does not make the locale format 12-hour", "en_GB", "t am/pm", sunday, "14:05 pm");
}

void TestDateTimeFormat::twelveHourClock_data()
{
    columns();
    row("00:xx is 12 am", "en_GB", "h:nn am/pm", at(2026, 1, 1, 0, 7, 0), "12:07 am");
    row("01:xx is 1 am", "en_GB", "h:nn am/pm", at(2026, 1, 1, 1, 0, 0), "1:00 am");
    row("11:59 is 11 am", "en_GB", "h:nn am/pm", at(2026, 1, 1, 11, 59, 0), "11:59 am");
    row("12:00 is 12 pm", "en_GB", "h:nn am/pm", at(2026, 1, 1, 12, 0, 0), "12:00 pm");
    row("12:30 is 12 pm", "en_GB", "hh:nn am/pm", at(2026, 1, 1, 12, 30, 0), "12:30 pm");
    row("13:00 is 1 pm", "en_GB", "h:nn am/pm", at(2026, 1, 1, 13, 0, 0), "1:00 pm");
    row("23:59 is 11 pm", "en_GB", "hh:nn am/pm", at(2026, 1, 1, 23, 59, 0), "11:59 pm");
    row("hh pads in 12-hour", "en_GB", "hh a/p", at(2026, 1, 1, 9, 0, 0), "09 a");
    row("a/p switches to 12 hours", "en_GB", "h a/p", sunday, "2 p");
    row("ampm switches to 12 hours", "en_US", "hh ampm", monday, "12 AM");
    row("marker before the hour", "en_US", "ampm hh", sunday, "PM 02");
    row("marker far from the hour", "en_GB", "hh dd/mm/yyyy AM/PM", sunday, "02 06/12/2026 PM");
    row("quoted marker is text", "en_GB", "hh 'am/pm'", sunday, "14 am/pm");
    row("double-quoted marker is text", "en_GB", "hh \"ampm\"", sunday, "14 ampm");
    row("lone a is text", "en_GB", "hh a", sunday, "14 a");
    row("am without pm is text", "en_GB", "hh am", sunday, "14 a5");
}

void TestDateTimeFormat::minutesAfterHour_data()
{
    columns();
    row("hh:mm", "en_GB", "hh:mm", sunday, "14:05");
    row("h:m", "en_GB", "h:m", monday, "0:7");
    row("HH:MM upper case", "en_GB", "HH:MM", monday, "00:07");
    row("hhmm without separator", "en_GB", "hhmm", sunday, "1405");
    row("h mm across a blank", "en_GB", "h mm", sunday, "14 05");
    row("hh'h'mm across quoted text", "en_GB", "hh'h'mm", sunday, "14h05");
    row("mm before the hour is the month", "en_GB", "mm hh", sunday, "12 14");
    row("mm after minutes is the month", "en_GB", "hh:mm:ss mm", sunday, "14:05:09 12");
    row("second mm is the month", "en_GB", "hh:mm:mm", sunday, "14:05:12");
    row("another field in between", "en_GB", "hh dd mm", sunday, "14 06 12");
    row("marker in between", "en_GB", "hh am/pm mm", sunday, "02 pm 12");
    row("mmm after hour stays a name", "en_GB", "hh mmm", sunday, "14 Dec");
    row("mmmm after hour stays a name", "de_DE", "hh mmmm", sunday, "14 Dezember");
    row("12-hour clock with minutes", "en_US", "h:mm ampm", at(2026, 1, 1, 12, 9, 0), "12:09 PM");
}

void TestDateTimeFormat::markersKeepPatternCase_data()
{
    columns();
    const QDateTime morning = at(2026, 1, 1, 9, 0, 0);
    const QDateTime evening = at(2026, 1, 1, 21, 0, 0);
    row("am/pm morning", "en_US", "am/pm", morning, "am");
    row("am/pm evening", "en_US", "am/pm", evening, "pm");
    row("AM/PM morning", "de_DE", "AM/PM", morning, "AM");
    row("AM/PM evening", "de_DE", "AM/PM", evening, "PM");
    row("Am/pM morning", "en_GB", "Am/pM", morning, "Am");
    row("Am/pM evening", "en_GB", "Am/pM", evening, "pM");
    row("a/p morning", "en_GB", "a/p", morning, "a");
    row("a/p evening", "en_GB", "a/p", evening, "p");
    row("A/P morning", "en_GB", "A/P", morning, "A");
    row("A/P evening", "en_GB", "A/P", evening, "P");
    row("A/p evening", "en_GB", "A/p", evening, "p");
    row("noon is afternoon", "en_GB", "a/p", at(2026, 1, 1, 12, 0, 0), "p");
    row("midnight is morning", "en_GB", "AM/PM", at(2026, 1, 1, 0, 0, 0), "AM");
    row("marker slash is no date separator", "de_DE", "am/pm a/p", evening, "pm p");
}

void TestDateTimeFormat::quotedAndCopiedText_data()
{
    columns();
    row("single quotes", "en_GB", "'dd' dd", sunday, "dd 06");
    row("double quotes", "en_GB", "\"hh:nn\" hh", sunday, "hh:nn 14");
    row("double quote inside single", "en_GB", "'say \"yy\"'", sunday, "say \"yy\"");
    row("single quote inside double", "en_GB", "\"it's\" yy", sunday, "it's 26");
    row("separators inside quotes stay", "de_DE", "'/:' /:", sunday, "/: .:");
    row("empty quotes give nothing", "en_GB", "d''d", sunday, "66");
    row("unclosed single quote runs to the end", "en_GB", "yy 'mm dd", sunday, "26 mm dd");
    row("unclosed double quote runs to the end", "en_GB", "yy \"mm", sunday, "26 mm");
    row("other characters copied", "en_GB", "[dd-mm-yy] #1, é!", sunday, "[06-12-26] #1, é!");
    row("other letters copied", "en_GB", "dd xx bb", sunday, "06 xx bb");
    row("colon is the time separator", "fi_FI", "hh:nn:ss", sunday, "14.05.09");
    row("slash is the date separator", "de_DE", "yyyy/mm/dd", sunday, "2026.12.06");
}

void TestDateTimeFormat::longRuns_data()
{
    columns();
    row("y is yy", "en_GB", "y", sunday, "26");
    row("yyy is yyyy", "en_GB", "yyy", sunday, "2026");
    row("yyyyy is yyyy", "en_GB", "yyyyy", sunday, "2026");
    row("ddddddd is dddddd", "en_GB", "ddddddd", sunday, "Sunday, 6 December 2026");
    row("mmmmm is mmmm", "en_GB", "mmmmm", sunday, "December");
    row("hhh is hh", "en_GB", "hhh", monday, "00");
    row("nnn is nn", "en_GB", "nnn", monday, "07");
    row("sss is ss", "en_GB", "sss", monday, "08");
    row("ttt is tt", "en_GB", "ttt", sunday, "14:05:09");
    row("cc is c twice", "en_GB", "cc", at(2026, 12, 6, 0, 0, 0), "06/12/202606/12/2026");
    row("mixed case run", "en_GB", "dDdD", sunday, "Sunday");
}

void TestDateTimeFormat::stampCommandPatterns_data()
{
    columns();
    row("short date, slash", "en_GB", "dd/mm/yy", sunday, "06/12/26");
    row("short date, full stop", "de_DE", "dd/mm/yy", sunday, "06.12.26");
    row("short date single digits", "en_GB", "dd/mm/yy", monday, "02/03/26");
    row("short date and time", "en_GB", "dd/mm/yy hh:nn", sunday, "06/12/26 14:05");
    row("short date and time German", "de_DE", "dd/mm/yy hh:nn", monday, "02.03.26 00:07");
    row("short time", "en_GB", "hh:nn", sunday, "14:05");
    row("long date", "en_GB", "dddddd/mmmm/yyyy", sunday, "Sunday, 6 December 2026/December/2026");
    row("long date German", "de_DE", "dddddd/mmmm/yyyy", sunday, "Sonntag, 6. Dezember 2026.Dezember.2026");
    row("long time", "en_US", "hh:nn:ss ampm", sunday, "02:05:09 PM");
    row("long time after midnight", "en_US", "hh:nn:ss ampm", monday, "12:07:08 AM");
    row("long time German", "de_DE", "hh:nn:ss ampm", sunday, "02:05:09 PM");
    row("long date and time", "en_GB", "dddddd/mmmm/yyyy hh:nn:ss ampm", monday,
        "Monday, 2 March 2026/March/2026 12:07:08 am");
    row("time switch", "en_US", "dddd dd/mmmm/yyyy hh:nn:ss ampm", sunday, "Sunday 06/December/2026 02:05:09 PM");
    row("time switch German", "de_DE", "dddd dd/mmmm/yyyy hh:nn:ss ampm", sunday,
        "Sonntag 06.Dezember.2026 02:05:09 PM");
    row("status clock", "en_US", "hh:nn:ss", sunday, "14:05:09");
}

void TestDateTimeFormat::separatorsAndDesignatorsComeFromLocale()
{
    DateTimeLocale locale = DateTimeLocale::fromQLocale(QLocale("en_GB"));
    locale.dateSeparator = "-";
    locale.timeSeparator = "h";
    locale.amDesignator = "morning";
    locale.pmDesignator = "evening";
    // The locale's own formats hold the separator tokens, so they follow too.
    QCOMPARE(formatDateTime("dd/mm/yy ddddd", sunday, locale), "06-12-26 06-12-2026");
    QCOMPARE(formatDateTime("hh:nn tt", sunday, locale), "14h05 14h05h09");
    QCOMPARE(formatDateTime("c", sunday, locale), "06-12-2026 14h05h09");
    QCOMPARE(formatDateTime("h ampm", sunday, locale), "2 evening");

    // A locale format cannot expand into itself.
    locale.shortDateFormat = "[ddddd c t]";
    QCOMPARE(formatDateTime("ddddd", sunday, locale), "[  ]");
}

void TestDateTimeFormat::localeFromQt()
{
    const DateTimeLocale gb = DateTimeLocale::fromQLocale(QLocale("en_GB"));
    QCOMPARE(gb.shortDateFormat, "dd/mm/yyyy");
    QCOMPARE(gb.longDateFormat, "dddd, d mmmm yyyy");
    QCOMPARE(gb.shortTimeFormat, "hh:nn");
    QCOMPARE(gb.longTimeFormat, "hh:nn:ss"); // without Qt's time zone
    QCOMPARE(gb.dateSeparator, "/");
    QCOMPARE(gb.timeSeparator, ":");
    QCOMPARE(gb.amDesignator, "am");
    QCOMPARE(gb.pmDesignator, "pm");
    QCOMPARE(gb.shortDayNames[0], "Mon");
    QCOMPARE(gb.longDayNames[6], "Sunday");
    QCOMPARE(gb.shortMonthNames[0], "Jan");
    QCOMPARE(gb.longMonthNames[11], "December");

    const DateTimeLocale us = DateTimeLocale::fromQLocale(QLocale("en_US"));
    QCOMPARE(us.shortDateFormat, "m/d/yy");
    QCOMPARE(us.shortTimeFormat, "h:nn ampm");
    QCOMPARE(us.longTimeFormat, "h:nn:ss ampm");

    const DateTimeLocale de = DateTimeLocale::fromQLocale(QLocale("de_DE"));
    QCOMPARE(de.dateSeparator, ".");
    QCOMPARE(de.shortDateFormat, "dd/mm/yy");
    // ". " is not the separator: it stays text.
    QCOMPARE(de.longDateFormat, "dddd, d. mmmm yyyy");
    QCOMPARE(de.longDayNames[0], "Montag");

    const DateTimeLocale fi = DateTimeLocale::fromQLocale(QLocale("fi_FI"));
    QCOMPARE(fi.timeSeparator, ".");
    QCOMPARE(fi.shortTimeFormat, "h:nn");

    // Only blanks between the fields of "d MMM yyyy": the slash stands in.
    const DateTimeLocale c = DateTimeLocale::fromQLocale(QLocale::c());
    QCOMPARE(c.dateSeparator, "/");
    QCOMPARE(c.shortDateFormat, "d mmm yyyy");

    // A time zone leading the format takes its blank with it; quoted Qt text stays text.
    QCOMPARE(DateTimeLocale::fromQLocale(QLocale("zh_CN")).longTimeFormat, "hh:nn:ss");
    const DateTimeLocale ru = DateTimeLocale::fromQLocale(QLocale("ru_RU"));
    QCOMPARE(formatDateTime("dddddd", sunday, ru), "воскресенье, 6 декабря 2026 г.");
    const DateTimeLocale ko = DateTimeLocale::fromQLocale(QLocale("ko_KR"));
    QCOMPARE(formatDateTime("t", sunday, ko), "오후 2:05");
    QCOMPARE(formatDateTime("tt", monday, ko), "오전 12시 7분 8초");
}

// For every locale writing ASCII digits, the translated formats render as Qt renders its own.
void TestDateTimeFormat::localeFormatsAgreeWithQt()
{
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QVERIFY(locales.size() > 100);
    int compared = 0;
    for (const QLocale& qt : locales) {
        if (qt.zeroDigit() != "0")
            continue;
        const DateTimeLocale locale = DateTimeLocale::fromQLocale(qt);
        for (const QDateTime& when : {sunday, monday}) {
            const QString name = qt.name();
            QCOMPARE(formatDateTime("ddddd", when, locale) + " " + name,
                     qt.toString(when.date(), QLocale::ShortFormat) + " " + name);
            QCOMPARE(formatDateTime("dddddd", when, locale) + " " + name,
                     qt.toString(when.date(), QLocale::LongFormat) + " " + name);
            // Qt writes its "AP" field in capitals; the designator is kept as the locale
            // spells it.
            QCOMPARE(formatDateTime("t", when, locale).toUpper() + " " + name,
                     qt.toString(when.time(), QLocale::ShortFormat).toUpper() + " " + name);
        }
        ++compared;
    }
    QVERIFY(compared > 100);
}

void TestDateTimeFormat::invalidDateTimeGivesNoNames()
{
    const DateTimeLocale& locale = localeNamed("en_GB");
    QCOMPARE(formatDateTime("[ddd mmm]", QDateTime(), locale), "[ ]");
}

QTEST_APPLESS_MAIN(TestDateTimeFormat)
#include "tst_datetimeformat.moc"
