// The draw dates of a CSV: Western dates in the common forms and dates of
// the Japanese eras, each era read only within its span.

#include "core/history/csv_date.h"

#include <QRegularExpression>
#include <QStringList>

#include <array>

namespace mirkano {

namespace {

// Whole number of the digits in text[from, to), or -1.
int digitsValue(QStringView text)
{
    if (text.isEmpty() || text.size() > 4)
        return -1;
    int v = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c.unicode() - u'0');
    }
    return v;
}

// A Japanese era: its name, the square sign some fonts and Shift_JIS files
// write it with, and its first and last day. 元年 is year 1; an era's year y
// is the Western year first.year() + y − 1. 明治 dates are read from 明治6年
// on: before it they are of the old lunisolar calendar.
struct Era {
    const char16_t* name;
    char16_t sign;
    QDate first;
    QDate last;  // invalid: the era goes on
    int firstYear;  // the Western year of its 元年
};

const std::array<Era, 5>& eras()
{
    static const std::array<Era, 5> table = {{
        {u"明治", u'\u337E', QDate(1873, 1, 1), QDate(1912, 7, 29), 1868},
        {u"大正", u'\u337D', QDate(1912, 7, 30), QDate(1926, 12, 24), 1912},
        {u"昭和", u'\u337C', QDate(1926, 12, 25), QDate(1989, 1, 7), 1926},
        {u"平成", u'\u337B', QDate(1989, 1, 8), QDate(2019, 4, 30), 1989},
        {u"令和", u'\u32FF', QDate(2019, 5, 1), QDate(), 2019},
    }};
    return table;
}

// A date written in an era, as the era writes it: 平成31年4月30日.
QString eraDateText(const Era& era, const QDate& d)
{
    const int y = d.year() - era.firstYear + 1;
    return QStringLiteral("%1%2年%3月%4日")
        .arg(QStringView(era.name))
        .arg(y == 1 ? QStringLiteral("元") : QString::number(y))
        .arg(d.month())
        .arg(d.day());
}

}  // namespace

DateReading readDrawDate(QString t)
{
    // A weekday after the date: "(木)", "木曜", "木曜日", after a comma or not.
    static const QRegularExpression weekday(QStringLiteral("(,?\\([月火水木金土日]\\)|,?[月火水木金土日]曜日?)$"));
    if (const QRegularExpressionMatch m = weekday.match(t); m.hasMatch())
        t.truncate(m.capturedStart());
    const Era* era = nullptr;
    for (const Era& e : eras()) {
        if (t.startsWith(QStringView(e.name)))
            t = t.sliced(2);
        else if (t.startsWith(QChar(e.sign)))
            t = t.sliced(1);
        else
            continue;
        era = &e;
        if (t.startsWith(u"元年"))
            t.replace(0, 1, QStringLiteral("1"));
        break;
    }
    QStringList ymd;
    if (t.endsWith(u'日') && t.count(u'年') == 1 && t.count(u'月') == 1) {
        t.chop(1);
        t.replace(u'年', u'-').replace(u'月', u'-');
        ymd = t.split(u'-');
    } else if (!era) {
        for (QChar sep : {u'-', u'/', u'.'})
            if (t.count(sep) == 2) {
                ymd = t.split(sep);
                break;
            }
    }
    if (ymd.size() != 3)
        return {};
    const int y = digitsValue(ymd[0]), m = digitsValue(ymd[1]), d = digitsValue(ymd[2]);
    if (y < 0 || m < 0 || d < 0 || (!era && ymd[0].size() != 4) || (era && y < 1))
        return {};
    const QDate date(era ? era->firstYear + y - 1 : y, m, d);
    if (!date.isValid())
        return {};
    if (era && (date < era->first || (era->last.isValid() && date > era->last))) {
        const QString span = era->last.isValid()
                                 ? QStringLiteral("%1（%2）から%3（%4）まで")
                                       .arg(eraDateText(*era, era->first), era->first.toString(Qt::ISODate),
                                            eraDateText(*era, era->last), era->last.toString(Qt::ISODate))
                                 : QStringLiteral("%1（%2）から")
                                       .arg(eraDateText(*era, era->first), era->first.toString(Qt::ISODate));
        return {std::nullopt, QStringLiteral("%1の日付は%2です").arg(QStringView(era->name), span)};
    }
    return {date, {}};
}

}  // namespace mirkano
