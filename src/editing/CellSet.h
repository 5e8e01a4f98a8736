#pragma once
// A set of cells kept beside an ordered list, so that "append the cell unless it is listed
// already" costs a constant time instead of a search of the list. Cells inside `bounds` are
// marked in a bitmap; any other cell goes to a hash set, so the set is exact for every point.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSet>
#include <vector>

class CellSet
{
public:
    explicit CellSet(const QRect& bounds = QRect())
        : m_bounds(bounds.isValid() ? bounds : QRect()),
          m_bits(size_t(m_bounds.isValid() ? qint64(m_bounds.width()) * m_bounds.height() : 0), 0)
    {
    }

    // Adds `p`; true when it was not in the set yet.
    bool insert(QPoint p)
    {
        if (m_bounds.contains(p)) {
            unsigned char& bit = m_bits[index(p)];
            if (bit)
                return false;
            bit = 1;
            return true;
        }
        if (m_outside.contains(p))
            return false;
        m_outside.insert(p);
        return true;
    }
    bool contains(QPoint p) const
    {
        return m_bounds.contains(p) ? m_bits[index(p)] != 0 : m_outside.contains(p);
    }

private:
    size_t index(QPoint p) const
    {
        return size_t(qint64(p.y() - m_bounds.top()) * m_bounds.width() + (p.x() - m_bounds.left()));
    }

    QRect m_bounds;
    std::vector<unsigned char> m_bits;
    QSet<QPoint> m_outside;
};

// An ordered list of distinct cells: appending a listed cell does nothing.
class CellList
{
public:
    explicit CellList(const QRect& bounds = QRect()) : m_set(bounds) {}

    bool append(QPoint p)
    {
        if (!m_set.insert(p))
            return false;
        m_cells.append(p);
        return true;
    }
    bool contains(QPoint p) const { return m_set.contains(p); }
    int size() const { return int(m_cells.size()); }
    const QList<QPoint>& cells() const { return m_cells; }
    QList<QPoint> take() { return std::move(m_cells); }

private:
    CellSet m_set;
    QList<QPoint> m_cells;
};
