#pragma once
// The one error type for file and format failures: carries a message ready to show to the
// user. Thrown where the failure is found, caught where a command started the work.

#include <QString>
#include <stdexcept>

class QuillError : public std::runtime_error
{
public:
    explicit QuillError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};
