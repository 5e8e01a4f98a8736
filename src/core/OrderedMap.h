#pragma once
// A dictionary that keeps insertion order, so that iterating palettes, colour tables and
// catalogues gives the same order (and the same tie-breaks) on every run and platform.

#include <QHash>
#include <QList>
#include <utility>

template <typename K, typename V>
class OrderedMap
{
public:
    using Entry = std::pair<K, V>;

    int size() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    bool contains(const K& key) const { return m_index.contains(key); }
    int indexOf(const K& key) const { return m_index.value(key, -1); }

    V* find(const K& key)
    {
        auto it = m_index.constFind(key);
        return it == m_index.cend() ? nullptr : &m_entries[*it].second;
    }
    const V* find(const K& key) const
    {
        auto it = m_index.constFind(key);
        return it == m_index.cend() ? nullptr : &m_entries[*it].second;
    }
    V value(const K& key, const V& fallback = V()) const
    {
        const V* v = find(key);
        return v ? *v : fallback;
    }

    // Inserts at the end, or replaces the value in place when the key is present.
    V& insert(const K& key, V value)
    {
        auto it = m_index.constFind(key);
        if (it != m_index.cend()) {
            m_entries[*it].second = std::move(value);
            return m_entries[*it].second;
        }
        m_index.insert(key, int(m_entries.size()));
        m_entries.append({key, std::move(value)});
        return m_entries.last().second;
    }
    V& operator[](const K& key)
    {
        if (V* v = find(key))
            return *v;
        return insert(key, V());
    }

    bool remove(const K& key)
    {
        auto it = m_index.constFind(key);
        if (it == m_index.cend())
            return false;
        m_entries.removeAt(*it);
        reindex();
        return true;
    }
    void clear()
    {
        m_entries.clear();
        m_index.clear();
    }

    const Entry& at(int i) const { return m_entries.at(i); }
    Entry& at(int i) { return m_entries[i]; }
    QList<K> keys() const
    {
        QList<K> out;
        out.reserve(m_entries.size());
        for (const auto& e : m_entries)
            out.append(e.first);
        return out;
    }

    auto begin() { return m_entries.begin(); }
    auto end() { return m_entries.end(); }
    auto begin() const { return m_entries.cbegin(); }
    auto end() const { return m_entries.cend(); }

    bool operator==(const OrderedMap& o) const { return m_entries == o.m_entries; }

private:
    void reindex()
    {
        m_index.clear();
        for (int i = 0; i < m_entries.size(); ++i)
            m_index.insert(m_entries[i].first, i);
    }

    QList<Entry> m_entries;
    QHash<K, int> m_index;
};
