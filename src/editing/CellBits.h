#pragma once
// One bit per cell of a width x height grid from (0, 0), for the figures and actions that
// mark a million cells: an eighth of a byte map's memory, so large figures stay in cache.

#include <QtGlobal>
#include <vector>

class CellBits
{
public:
    CellBits(int width, int height)
        : m_width(qMax(0, width)), m_words(size_t((qint64(m_width) * qMax(0, height) + 63) / 64), 0)
    {
    }
    // Sets the bit of (x, y), which the caller keeps inside the grid; true when it was clear.
    bool insert(int x, int y)
    {
        const quint64 i = quint64(qint64(y) * m_width + x);
        quint64& word = m_words[size_t(i >> 6)];
        const quint64 bit = quint64(1) << (i & 63);
        if (word & bit)
            return false;
        word |= bit;
        return true;
    }
    bool contains(int x, int y) const
    {
        const quint64 i = quint64(qint64(y) * m_width + x);
        return (m_words[size_t(i >> 6)] >> (i & 63)) & 1;
    }

private:
    int m_width;
    std::vector<quint64> m_words;
};
