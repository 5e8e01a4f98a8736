#pragma once
// The per-user settings store: the values under "SOFTWARE\Korvald\Quillmark\5\General" and its
// subkeys "LastFiles" and "Languages", kept in an INI file through QSettings. Value names
// compare without regard to case, as in the Windows registry; the store never holds two case
// variants of one name. Integers are 32-bit, Booleans are stored as 0/1 and date-times as
// ISO 8601 text.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <utility>

class QSettings;

class SettingsStore
{
public:
    using NamedValue = std::pair<QString, QString>;

    // The user's store (INI format, user scope, organisation "Korvald", application "Quillmark").
    SettingsStore();
    // A store kept in the named INI file (tests, the command line's --settings FILE).
    explicit SettingsStore(const QString& iniFile);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The INI file that holds the key.
    QString fileName() const;

    // The key exists when it holds at least one value.
    bool keyExists() const;
    bool valueExists(const QString& name) const;
    // Names of the values of the key, as stored (with their stored case).
    QStringList valueNames() const;

    // Reads answer nothing when the value is absent or does not hold the type asked for.
    std::optional<QString> readString(const QString& name) const;
    std::optional<qint32> readInteger(const QString& name) const;
    std::optional<bool> readBool(const QString& name) const;
    std::optional<QDateTime> readDateTime(const QString& name) const;

    // Writing replaces any case variant of the name by the name given.
    void writeString(const QString& name, const QString& value);
    void writeInteger(const QString& name, qint32 value);
    void writeBool(const QString& name, bool value);
    void writeDateTime(const QString& name, const QDateTime& value);
    void removeValue(const QString& name);

    // The values of a subkey in the order they were written: numeric names in numeric order,
    // then the other names in the store's order.
    QList<NamedValue> subkeyValues(const QString& subkey) const;
    QStringList subkeyStrings(const QString& subkey) const;
    // Replaces all values of a subkey by the given ones; nothing else stays in it.
    void replaceSubkeyValues(const QString& subkey, const QList<NamedValue>& values);
    // Replaces all values of a subkey by a list, named "1", "2", ... in list order.
    void replaceSubkeyList(const QString& subkey, const QStringList& values);

    // Writes pending changes to the file; false when that failed (see errorText()).
    bool sync();
    QString errorText() const;

private:
    QString findName(const QString& group, const QString& name) const;
    void writeValue(const QString& name, const QString& text);

    std::unique_ptr<QSettings> m_settings;
};
