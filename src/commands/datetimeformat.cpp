#include "commands/datetimeformat.h"

#include <QDateTime>
#include <QLocale>
#include <QStringView>

#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Formatting

char16_t asciiLower(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') ? char16_t(u + (u'a' - u'A')) : u;
}

bool isQuote(QChar c)
{
    return c == u'\'' || c == u'"';
}

// Length of the run of `at`'s letter starting at `at`, letter case ignored.
qsizetype runLength(QStringView pattern, qsizetype at)
{
    const char16_t letter = asciiLower(pattern[at]);
    qsizetype end = at + 1;
    while (end < pattern.size() && asciiLower(pattern[end]) == letter)
        ++end;
    return end - at;
}

// Index just past the quoted text opening at `at` (the end when the quote is never closed).
qsizetype skipQuoted(QStringView pattern, qsizetype at)
{
    const qsizetype close = pattern.indexOf(pattern[at], at + 1);
    return close < 0 ? pattern.size() : close + 1;
}

enum class Marker { None, AmPm, AP, Designator };

struct MarkerMatch
{
    Marker kind = Marker::None;
    qsizetype length = 0;
};

MarkerMatch markerAt(QStringView pattern, qsizetype at)
{
    const auto is = [&](QStringView token) {
        return pattern.size() - at >= token.size() &&
               pattern.mid(at, token.size()).compare(token, Qt::CaseInsensitive) == 0;
    };
    if (is(u"am/pm"))
        return {Marker::AmPm, 5};
    if (is(u"a/p"))
        return {Marker::AP, 3};
    if (is(u"ampm"))
        return {Marker::Designator, 4};
    return {};
}

// Whether h and hh count 1-12: any morning/afternoon marker outside quotes, before or after.
bool usesTwelveHourClock(QStringView pattern)
{
    for (qsizetype i = 0; i < pattern.size();) {
        if (isQuote(pattern[i])) {
            i = skipQuoted(pattern, i);
        } else if (asciiLower(pattern[i]) == u'a') {
            const MarkerMatch m = markerAt(pattern, i);
            if (m.kind != Marker::None)
                return true;
            ++i;
        } else {
            ++i;
        }
    }
    return false;
}

void appendNumber(QString& out, int value, int width)
{
    if (value < 0) {
        out += u'-';
        value = -value;
    }
    char16_t digits[12];
    int count = 0;
    do {
        digits[count++] = char16_t(u'0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (int pad = count; pad < width; ++pad)
        out += u'0';
    while (count > 0)
        out += QChar(digits[--count]);
}

template <std::size_t N> const QString& nameAt(const std::array<QString, N>& names, int oneBased)
{
    static const QString none;
    return (oneBased >= 1 && oneBased <= int(N)) ? names[std::size_t(oneBased - 1)] : none;
}

struct Stamp
{
    // Fields of an invalid date or time read as zero rather than Qt's -1.
    explicit Stamp(const QDateTime& when)
    {
        const QDate date = when.date();
        const QTime time = when.time();
        if (time.isValid()) {
            hour = time.hour();
            minute = time.minute();
            second = time.second();
            msec = time.msec();
        }
        if (date.isValid()) {
            year = date.year();
            month = date.month();
            day = date.day();
            dayOfWeek = date.dayOfWeek();
        }
    }

    int year = 0, month = 0, day = 0, dayOfWeek = 0;
    int hour = 0, minute = 0, second = 0, msec = 0;
};

// `nested` is set while expanding one of the locale's own formats, where the fields that expand
// to a locale format produce nothing, so a format naming itself cannot recurse.
void appendFormatted(QString& out, QStringView pattern, const Stamp& when, const DateTimeLocale& locale, bool nested)
{
    const bool twelveHour = usesTwelveHourClock(pattern);
    const auto appendFormat = [&](const QString& format) {
        if (!nested)
            appendFormatted(out, format, when, locale, true);
    };

    bool afterHour = false; // the last field was h or hh
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (isQuote(c)) {
            const qsizetype close = pattern.indexOf(c, i + 1);
            const qsizetype textEnd = close < 0 ? pattern.size() : close;
            out += pattern.sliced(i + 1, textEnd - i - 1);
            i = close < 0 ? pattern.size() : close + 1;
            continue;
        }
        if (c == u'/') {
            out += locale.dateSeparator;
            ++i;
            continue;
        }
        if (c == u':') {
            out += locale.timeSeparator;
            ++i;
            continue;
        }

        const char16_t letter = asciiLower(c);
        qsizetype length = 1;
        bool hourField = false;
        switch (letter) {
        case u'c':
            appendFormat(locale.shortDateFormat);
            if (when.hour != 0 || when.minute != 0 || when.second != 0 || when.msec != 0) {
                if (!nested)
                    out += u' ';
                appendFormat(locale.longTimeFormat);
            }
            break;
        case u'd':
            length = runLength(pattern, i);
            switch (length) {
            case 1:
            case 2:
                appendNumber(out, when.day, int(length));
                break;
            case 3:
                out += nameAt(locale.shortDayNames, when.dayOfWeek);
                break;
            case 4:
                out += nameAt(locale.longDayNames, when.dayOfWeek);
                break;
            case 5:
                appendFormat(locale.shortDateFormat);
                break;
            default:
                appendFormat(locale.longDateFormat);
                break;
            }
            break;
        case u'm':
            length = runLength(pattern, i);
            if (length <= 2)
                appendNumber(out, afterHour ? when.minute : when.month, int(length));
            else if (length == 3)
                out += nameAt(locale.shortMonthNames, when.month);
            else
                out += nameAt(locale.longMonthNames, when.month);
            break;
        case u'y':
            length = runLength(pattern, i);
            if (length <= 2)
                appendNumber(out, when.year < 0 ? -when.year % 100 : when.year % 100, 2);
            else
                appendNumber(out, when.year, 4);
            break;
        case u'h': {
            length = runLength(pattern, i);
            int hour = when.hour;
            if (twelveHour) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            appendNumber(out, hour, length == 1 ? 1 : 2);
            hourField = true;
            break;
        }
        case u'n':
            length = runLength(pattern, i);
            appendNumber(out, when.minute, length == 1 ? 1 : 2);
            break;
        case u's':
            length = runLength(pattern, i);
            appendNumber(out, when.second, length == 1 ? 1 : 2);
            break;
        case u't':
            length = runLength(pattern, i);
            appendFormat(length == 1 ? locale.shortTimeFormat : locale.longTimeFormat);
            break;
        case u'a': {
            const MarkerMatch marker = markerAt(pattern, i);
            const bool morning = when.hour < 12;
            switch (marker.kind) {
            case Marker::AmPm:
                out += morning ? pattern.mid(i, 2) : pattern.mid(i + 3, 2);
                break;
            case Marker::AP:
                out += morning ? pattern[i] : pattern[i + 2];
                break;
            case Marker::Designator:
                out += morning ? locale.amDesignator : locale.pmDesignator;
                break;
            case Marker::None:
                out += c; // a lone "a" is ordinary text and no field
                ++i;
                continue;
            }
            length = marker.length;
            break;
        }
        default:
            out += c; // copied text leaves "afterHour" as it was: "hh:mm" and "hh'h'mm"
            ++i;
            continue;
        }
        afterHour = hourField;
        i += length;
    }
}

// ---------------------------------------------------------------------------------------------
// Translation of Qt's format strings (QLocale::dateFormat / timeFormat)

struct QtItem
{
    enum Kind { Literal, DateField, TimeField, OtherField, Dropped } kind;
    QString text; // the literal text, or the field in the pattern language
};

// Splits a Qt date or time format into fields and literal runs, following Qt's own reading:
// quotes delimit literal text, "''" is one quote, and repeated letters beyond a field's
// longest form start a new field.
std::vector<QtItem> parseQtFormat(QStringView format)
{
    std::vector<QtItem> items;
    const auto literal = [&](QStringView text) {
        if (items.empty() || items.back().kind != QtItem::Literal)
            items.push_back({QtItem::Literal, QString()});
        items.back().text += text;
    };
    const auto field = [&](QtItem::Kind kind, QChar letter, qsizetype count) {
        items.push_back({kind, QString(count, letter)});
    };

    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'\'') {
            if (i + 1 < format.size() && format[i + 1] == u'\'') {
                literal(u"'");
                i += 2;
                continue;
            }
            ++i;
            QString text;
            while (i < format.size()) {
                if (format[i] == u'\'') {
                    if (i + 1 < format.size() && format[i + 1] == u'\'') {
                        text += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += format[i++];
            }
            literal(text);
            continue;
        }

        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == c)
            ++run;
        qsizetype used = 0;
        switch (c.unicode()) {
        case u'd':
            used = qMin<qsizetype>(run, 4);
            field(QtItem::DateField, u'd', used);
            break;
        case u'M':
            used = qMin<qsizetype>(run, 4);
            field(QtItem::DateField, u'm', used);
            break;
        case u'y':
            if (run >= 2) {
                used = run >= 4 ? 4 : 2;
                field(QtItem::DateField, u'y', used);
            }
            break;
        case u'h':
        case u'H':
            used = qMin<qsizetype>(run, 2);
            field(QtItem::TimeField, u'h', used);
            break;
        case u'm':
            used = qMin<qsizetype>(run, 2);
            field(QtItem::TimeField, u'n', used);
            break;
        case u's':
            used = qMin<qsizetype>(run, 2);
            field(QtItem::TimeField, u's', used);
            break;
        case u'z':
        case u't':
            used = run;
            items.push_back({QtItem::Dropped, QString()});
            break;
        case u'a':
        case u'A':
            used = (i + 1 < format.size() && asciiLower(format[i + 1]) == u'p') ? 2 : 1;
            items.push_back({QtItem::OtherField, QStringLiteral("ampm")});
            break;
        default:
            break;
        }
        if (used == 0) {
            literal(format.sliced(i, 1));
            used = 1;
        }
        i += used;
    }
    return items;
}

// The first non-blank literal text between two fields of `kind`, or `fallback`.
QString separatorOf(const std::vector<QtItem>& items, QtItem::Kind kind, const QString& fallback)
{
    for (std::size_t i = 0; i + 2 < items.size(); ++i) {
        if (items[i].kind == kind && items[i + 1].kind == QtItem::Literal && items[i + 2].kind == kind) {
            const QString trimmed = items[i + 1].text.trimmed();
            if (!trimmed.isEmpty())
                return trimmed;
        }
    }
    return fallback;
}

// Writes literal text so the pattern language copies it unchanged.
void appendLiteral(QString& pattern, const QString& text)
{
    bool open = false;
    for (const QChar c : text) {
        const bool plain = !c.isLetter() && !isQuote(c) && c != u'/' && c != u':';
        if (plain || c == u'\'') {
            if (open) {
                pattern += u'\'';
                open = false;
            }
            pattern += c == u'\'' ? QStringLiteral("\"'\"") : QString(c);
        } else {
            if (!open) {
                pattern += u'\'';
                open = true;
            }
            pattern += c;
        }
    }
    if (open)
        pattern += u'\'';
}

QString patternFromQtFormat(QStringView format, const QString& separator, QChar separatorToken)
{
    std::vector<QtItem> items;
    for (QtItem& item : parseQtFormat(format)) {
        if (item.kind == QtItem::Dropped)
            continue;
        if (item.kind == QtItem::Literal && !items.empty() && items.back().kind == QtItem::Literal)
            items.back().text += item.text;
        else
            items.push_back(std::move(item));
    }
    // Dropping the time zone leaves the blank that set it apart.
    if (!items.empty() && items.front().kind == QtItem::Literal) {
        QString& text = items.front().text;
        qsizetype blanks = 0;
        while (blanks < text.size() && text[blanks].isSpace())
            ++blanks;
        text.remove(0, blanks);
    }
    if (!items.empty() && items.back().kind == QtItem::Literal) {
        QString& text = items.back().text;
        qsizetype keep = text.size();
        while (keep > 0 && text[keep - 1].isSpace())
            --keep;
        text.truncate(keep);
    }

    QString pattern;
    for (const QtItem& item : items) {
        if (item.kind != QtItem::Literal)
            pattern += item.text;
        else if (item.text == separator)
            pattern += separatorToken;
        else
            appendLiteral(pattern, item.text);
    }
    return pattern;
}

} // namespace

DateTimeLocale DateTimeLocale::fromQLocale(const QLocale& locale)
{
    DateTimeLocale result;
    const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
    const QString shortTime = locale.timeFormat(QLocale::ShortFormat);
    result.dateSeparator = separatorOf(parseQtFormat(shortDate), QtItem::DateField, QStringLiteral("/"));
    result.timeSeparator = separatorOf(parseQtFormat(shortTime), QtItem::TimeField, QStringLiteral(":"));

    result.shortDateFormat = patternFromQtFormat(shortDate, result.dateSeparator, u'/');
    result.longDateFormat = patternFromQtFormat(locale.dateFormat(QLocale::LongFormat), result.dateSeparator, u'/');
    result.shortTimeFormat = patternFromQtFormat(shortTime, result.timeSeparator, u':');
    result.longTimeFormat = patternFromQtFormat(locale.timeFormat(QLocale::LongFormat), result.timeSeparator, u':');

    for (int day = 1; day <= 7; ++day) {
        result.shortDayNames[std::size_t(day - 1)] = locale.dayName(day, QLocale::ShortFormat);
        result.longDayNames[std::size_t(day - 1)] = locale.dayName(day, QLocale::LongFormat);
    }
    for (int month = 1; month <= 12; ++month) {
        result.shortMonthNames[std::size_t(month - 1)] = locale.monthName(month, QLocale::ShortFormat);
        result.longMonthNames[std::size_t(month - 1)] = locale.monthName(month, QLocale::LongFormat);
    }
    result.amDesignator = locale.amText();
    result.pmDesignator = locale.pmText();
    return result;
}

QString formatDateTime(const QString& pattern, const QDateTime& when, const DateTimeLocale& locale)
{
    QString out;
    out.reserve(pattern.size() * 2 + 16);
    appendFormatted(out, pattern.isEmpty() ? QStringView(u"c") : QStringView(pattern), Stamp(when), locale, false);
    return out;
}
