#pragma once

#include <QString>

#include <stdexcept>

namespace db {

// A failed database operation. Carries SQLite's message and the statement that failed.
class Error : public std::runtime_error {
public:
    explicit Error(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

} // namespace db
