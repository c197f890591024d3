#pragma once
// Where date-time stamps take the current time and the locale from. Both are replaceable so that
// tests get repeatable stamps; production uses the clock and the system locale.

#include "commands/datetimeformat.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <functional>

struct StampSource
{
    static inline std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    static inline std::function<DateTimeLocale()> locale = [] {
        return DateTimeLocale::fromQLocale(QLocale::system());
    };

    // ">>" and the current time formatted with `pattern`, as the editor stores it (UTF-8).
    static QByteArray stamp(const QString& pattern) { return ">>" + formatDateTime(pattern, now(), locale()).toUtf8(); }
};
