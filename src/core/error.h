#pragma once
// The base of every error the core throws: it carries a ready Japanese
// message naming the file and the cause, so that the desktop program and the
// command-line tool each need one catch to show it.

#include <QString>

#include <stdexcept>

namespace mirkano {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    explicit Error(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// Text the user typed, as a message quotes it: at most `limit` characters and
// then "…", control characters shown as replacement characters, so that a
// huge or binary argument cannot flood or garble the message.
inline QString echoed(QStringView text, qsizetype limit = 80)
{
    QString out;
    for (QChar c : text.left(limit))
        out += (c.unicode() < 0x20 || c.unicode() == 0x7f) ? QChar(QChar::ReplacementCharacter) : c;
    if (text.size() > limit)
        out += u'…';
    return out;
}

}  // namespace mirkano
