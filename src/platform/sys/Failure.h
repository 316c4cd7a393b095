#pragma once

#include <QString>

#include <stdexcept>

namespace sys {

// The one family of exceptions the program throws, for failures it does not expect in
// normal use (a damaged database, a full disk, a transfer that brings no page). Each
// carries a message for the user and the log; the event-loop boundary catches it, logs
// and shows the message, and ends the program in order. Failures that belong to normal
// use (a missing entry, a file that cannot be read) come back as a sys::Result instead.
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

} // namespace sys
