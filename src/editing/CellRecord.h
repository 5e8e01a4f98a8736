#pragma once
// The previous content of the cells (or quarters) a change touched: point -> the background
// value for an empty cell, otherwise the cell's colour key. A point keeps the first content
// recorded for it, so a gesture that passes a cell twice restores what was there before it.

#include <QHash>
#include <QList>
#include <QPoint>
#include <utility>

class CellRecord
{
public:
    using Entry = std::pair<QPoint, quint32>;

    // Records `previous` for `p` unless `p` is already recorded; true when it was new.
    bool record(QPoint p, quint32 previous)
    {
        if (m_index.contains(p))
            return false;
        m_index.insert(p, int(m_entries.size()));
        m_entries.append({p, previous});
        return true;
    }
    bool contains(QPoint p) const { return m_index.contains(p); }
    quint32 value(QPoint p) const { return m_entries.at(m_index.value(p)).second; }
    // Removes the entry of `p` (keeping the order of the others).
    void remove(QPoint p)
    {
        auto it = m_index.constFind(p);
        if (it == m_index.cend())
            return;
        m_entries.removeAt(*it);
        m_index.clear();
        for (int i = 0; i < m_entries.size(); ++i)
            m_index.insert(m_entries[i].first, i);
    }
    void clear()
    {
        m_entries.clear();
        m_index.clear();
    }
    int size() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    const QList<Entry>& entries() const { return m_entries; }
    auto begin() const { return m_entries.cbegin(); }
    auto end() const { return m_entries.cend(); }

private:
    QList<Entry> m_entries;
    QHash<QPoint, int> m_index;
};
