#pragma once
// The one error type for file and format failures. It carries its message as a translation
// key (the English text with %1, %2 ... where the arguments go) and the arguments, so that
// the place that shows it can show it in the user's language. Thrown where the failure is
// found, caught where a command started the work.

#include <QString>
#include <QStringList>
#include <stdexcept>

class TStitch;

class QuillError : public std::runtime_error
{
public:
    // A message without arguments: the text is its own key.
    explicit QuillError(const QString& message) : QuillError(message, QStringList()) {}
    QuillError(const QString& key, const QStringList& arguments)
        : std::runtime_error(fill(key, arguments).toStdString()), m_key(key), m_arguments(arguments),
          m_message(fill(key, arguments)) {}

    // The English message with its arguments (the command-line tool shows this).
    const QString& message() const { return m_message; }
    const QString& key() const { return m_key; }
    const QStringList& arguments() const { return m_arguments; }
    // The message in the current language: each line of the key through the translation
    // table, then the arguments put in.
    QString translated(TStitch& stitch) const;

    // An argument that is itself a text to translate: a word of the message or a reason that
    // Qt or the system gives in English.
    static QString translatable(const QString& text) { return QChar(kTranslatableMark) + text; }

    // Puts arguments[i] where "%<i+1>" stands in `text`, in one pass (an argument that holds
    // "%2" stays as it is); a number without an argument stays in the text.
    static QString fill(const QString& text, const QStringList& arguments);

private:
    static constexpr char16_t kTranslatableMark = u'\uE000';
    QString m_key;
    QStringList m_arguments;
    QString m_message;
};
