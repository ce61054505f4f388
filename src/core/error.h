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

}  // namespace mirkano
