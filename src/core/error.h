#pragma once
// The base of every error the core throws: a ready message in Japanese that
// names the file or input and the cause, fit for a message box or stderr.
// The GUI and the command-line tool each catch this one type at their edge.

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
