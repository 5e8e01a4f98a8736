#include "SettingsStore.h"

#include "Product.h"

#include <QSettings>
#include <algorithm>

namespace {

// The product's key path as QSettings groups.
const QString& generalGroup()
{
    static const QString group = QString(Product::kSettingsKeyPath).replace(u'\\', u'/');
    return group;
}

QString subkeyGroup(const QString& subkey) { return generalGroup() + u'/' + subkey; }

QStringList childKeysOf(QSettings& settings, const QString& group)
{
    settings.beginGroup(group);
    const QStringList keys = settings.childKeys();
    settings.endGroup();
    return keys;
}

// A hand-edited INI value with unquoted commas reads back as a list; join it again.
QString variantText(const QVariant& v)
{
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

bool isNumericName(const QString& name)
{
    return !name.isEmpty()
        && std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Numeric order of two names made of digits, without limits on their size.
bool numericLess(const QString& a, const QString& b)
{
    auto stripped = [](const QString& s) {
        qsizetype i = 0;
        while (i + 1 < s.size() && s.at(i) == u'0')
            ++i;
        return s.mid(i);
    };
    const QString sa = stripped(a), sb = stripped(b);
    if (sa.size() != sb.size())
        return sa.size() < sb.size();
    return sa < sb;
}

} // namespace

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QStringLiteral("Korvald"), QStringLiteral("Quillmark")))
{
    // Only the user's own file: a machine-wide or organisation-wide file would show values that
    // writing here could not replace.
    m_settings->setFallbacksEnabled(false);
}

SettingsStore::SettingsStore(const QString& iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{
    m_settings->setFallbacksEnabled(false);
}

SettingsStore::~SettingsStore() = default;


QString SettingsStore::fileName() const { return m_settings->fileName(); }

bool SettingsStore::keyExists() const { return !childKeysOf(*m_settings, generalGroup()).isEmpty(); }

bool SettingsStore::valueExists(const QString& name) const
{
    return !findName(generalGroup(), name).isEmpty();
}

QStringList SettingsStore::valueNames() const { return childKeysOf(*m_settings, generalGroup()); }

// The stored name that matches `name` without regard to case (the exact spelling first), as a
// full key, or empty when there is none.
QString SettingsStore::findName(const QString& group, const QString& name) const
{
    if (name.isEmpty())
        return {};
    const QStringList keys = childKeysOf(*m_settings, group);
    if (keys.contains(name))
        return group + u'/' + name;
    for (const QString& k : keys)
        if (k.compare(name, Qt::CaseInsensitive) == 0)
            return group + u'/' + k;
    return {};
}

std::optional<QString> SettingsStore::readString(const QString& name) const
{
    const QString key = findName(generalGroup(), name);
    if (key.isEmpty())
        return std::nullopt;
    return variantText(m_settings->value(key));
}

std::optional<qint32> SettingsStore::readInteger(const QString& name) const
{
    const std::optional<QString> text = readString(name);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const int v = text->trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return qint32(v);
}

std::optional<bool> SettingsStore::readBool(const QString& name) const
{
    if (const std::optional<qint32> v = readInteger(name))
        return *v != 0;
    const std::optional<QString> text = readString(name);
    if (!text)
        return std::nullopt;
    const QString t = text->trimmed();
    if (t.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

std::optional<QDateTime> SettingsStore::readDateTime(const QString& name) const
{
    const std::optional<QString> text = readString(name);
    if (!text)
        return std::nullopt;
    const QDateTime dt = QDateTime::fromString(text->trimmed(), Qt::ISODate);
    if (!dt.isValid())
        return std::nullopt;
    return dt;
}

void SettingsStore::writeValue(const QString& name, const QString& text)
{
    removeValue(name);
    m_settings->setValue(generalGroup() + u'/' + name, text);
}

void SettingsStore::writeString(const QString& name, const QString& value)
{
    // A null string would be stored as an invalid variant; store the empty text instead.
    writeValue(name, value.isNull() ? QStringLiteral("") : value);
}

void SettingsStore::writeInteger(const QString& name, qint32 value)
{
    writeValue(name, QString::number(value));
}

void SettingsStore::writeBool(const QString& name, bool value)
{
    writeValue(name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void SettingsStore::writeDateTime(const QString& name, const QDateTime& value)
{
    // With its offset from UTC, so that a later change of time zone reads the same instant.
    writeValue(name, value.toOffsetFromUtc(value.offsetFromUtc()).toString(Qt::ISODate));
}

void SettingsStore::removeValue(const QString& name)
{
    for (const QString& k : childKeysOf(*m_settings, generalGroup()))
        if (k.compare(name, Qt::CaseInsensitive) == 0)
            m_settings->remove(generalGroup() + u'/' + k);
}

QList<SettingsStore::NamedValue> SettingsStore::subkeyValues(const QString& subkey) const
{
    const QString group = subkeyGroup(subkey);
    QStringList names = childKeysOf(*m_settings, group);
    // The INI file lists names alphabetically ("10" before "2"); numbered values were written in
    // their numeric order.
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const bool na = isNumericName(a), nb = isNumericName(b);
        if (na && nb)
            return numericLess(a, b);
        return na && !nb;
    });
    QList<NamedValue> out;
    out.reserve(names.size());
    for (const QString& n : names)
        out.append({n, variantText(m_settings->value(group + u'/' + n))});
    return out;
}

QStringList SettingsStore::subkeyStrings(const QString& subkey) const
{
    QStringList out;
    for (const NamedValue& v : subkeyValues(subkey))
        out.append(v.second);
    return out;
}

void SettingsStore::replaceSubkeyValues(const QString& subkey, const QList<NamedValue>& values)
{
    const QString group = subkeyGroup(subkey);
    m_settings->beginGroup(group);
    for (const QString& k : m_settings->childKeys())
        m_settings->remove(k);
    m_settings->endGroup();
    for (const NamedValue& v : values)
        m_settings->setValue(group + u'/' + v.first,
                             v.second.isNull() ? QStringLiteral("") : v.second);
}

void SettingsStore::replaceSubkeyList(const QString& subkey, const QStringList& values)
{
    QList<NamedValue> named;
    named.reserve(values.size());
    for (qsizetype i = 0; i < values.size(); ++i)
        named.append({QString::number(i + 1), values.at(i)});
    replaceSubkeyValues(subkey, named);
}

bool SettingsStore::sync()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString SettingsStore::errorText() const
{
    switch (m_settings->status()) {
    case QSettings::NoError:
        return {};
    case QSettings::AccessError:
        return QStringLiteral("The settings file \"%1\" could not be written.").arg(fileName());
    case QSettings::FormatError:
        return QStringLiteral("The settings file \"%1\" is damaged.").arg(fileName());
    }
    return {};
}
