#pragma once
// The draw dates of a CSV: 2000-10-05, 2000/10/5, 2000.10.5, 2000年10月5日,
// or an era date 平成12年10月5日 / 令和元年5月1日 within the era's span, a
// weekday in brackets after it allowed.

#include <QDate>
#include <QString>

#include <optional>

namespace mirkano {

// A date field read: the date, or why it cannot be one (empty for a text
// that is no date at all).
struct DateReading {
    std::optional<QDate> date;
    QString cause;
};

// The date a field writes, given as the CSV reader compares texts (full-width
// forms folded, blanks removed).
DateReading readDrawDate(QString folded);

}  // namespace mirkano
