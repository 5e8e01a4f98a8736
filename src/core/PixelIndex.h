#pragma once
// Raw raster pixels to colour-table indexes, for the recount and the bulk cell writes.

#include "StitchTypes.h"

#include <vector>

// Maps raw raster pixels to colour-table indexes with open addressing: one multiply and,
// almost always, one compare per lookup, so a recount needs no per-cell dictionary lookup.
class PixelIndex
{
public:
    explicit PixelIndex(const ColorTable& table)
    {
        int cap = 16;
        while (cap < table.size() * 4)
            cap <<= 1;
        m_mask = quint32(cap - 1);
        m_keys.assign(size_t(cap), 0);
        m_values.assign(size_t(cap), -1);
        for (int i = 0; i < table.size(); ++i)
            insert(table.at(i).first, i);
    }
    int find(ColorKey key) const
    {
        for (quint32 h = slot(key);; h = (h + 1) & m_mask) {
            if (m_values[h] < 0)
                return -1;
            if (m_keys[h] == key)
                return m_values[h];
        }
    }

private:
    quint32 slot(ColorKey key) const { return (key * 2654435761u >> 8) & m_mask; }
    void insert(ColorKey key, int value)
    {
        quint32 h = slot(key);
        while (m_values[h] >= 0)
            h = (h + 1) & m_mask;
        m_keys[h] = key;
        m_values[h] = value;
    }
    quint32 m_mask = 0;
    std::vector<ColorKey> m_keys;
    std::vector<int> m_values;
};

