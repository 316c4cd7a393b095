#pragma once

#include "platform/sys/Failure.h"

#include <QString>

#include <optional>
#include <utility>

namespace sys {

// The outcome of an operation that can fail in normal use: a value, or the problem as a
// text for a message or a log line (naming the file or entry concerned). A failed result
// always carries a problem, so `ok()` and an empty problem mean the same. A result that
// is dropped unread is a failure nobody handled, so the compiler flags it.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {} // NOLINT: a value converts to success
    static Result failure(QString problem) { return Result(std::move(problem), 0); }

    bool ok() const { return m_value.has_value(); }
    // The value. Asking a failed result for it is a fault of the caller, so it throws the
    // problem as an unexpected failure rather than read an empty value.
    const T &value() const
    {
        if (!m_value)
            throw Failure(m_problem);
        return *m_value;
    }
    T valueOr(T fallback) const { return m_value ? *m_value : std::move(fallback); }
    const QString &problem() const { return m_problem; }

private:
    Result(QString problem, int) : m_problem(std::move(problem)) {}

    std::optional<T> m_value;
    QString m_problem;
};

// The outcome of an operation that gives nothing back: done, or the problem.
template <>
class [[nodiscard]] Result<void> {
public:
    static Result success() { return Result(QString()); }
    static Result failure(QString problem) { return Result(std::move(problem)); }

    bool ok() const { return m_problem.isEmpty(); }
    const QString &problem() const { return m_problem; }

private:
    explicit Result(QString problem) : m_problem(std::move(problem)) {}

    QString m_problem;
};

using Status = Result<void>;

} // namespace sys
