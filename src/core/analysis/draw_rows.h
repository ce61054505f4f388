#pragma once
// The loop most analysis sheets share: the complete draws of a history in
// history order, each taking the next sheet row from a first row on, so the
// rows follow one another without gaps. Incomplete rows are skipped.
//
//     for (const auto [d, row] : completeDrawRows(history, 2)) ...

#include "core/history/history.h"

#include <cstddef>
#include <iterator>

namespace mirkano {

struct DrawRow {
    const DrawRecord& draw;
    int row;
};

class CompleteDrawRows {
public:
    CompleteDrawRows(const History& history, int firstRow) : m_history(history), m_firstRow(firstRow) {}

    class iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = DrawRow;
        using difference_type = std::ptrdiff_t;

        iterator(const History& h, std::size_t at, int row) : m_h(&h), m_at(at), m_row(row) { skip(); }
        DrawRow operator*() const { return {(*m_h)[m_at], m_row}; }
        iterator& operator++()
        {
            ++m_at;
            ++m_row;
            skip();
            return *this;
        }
        friend bool operator==(const iterator& a, const iterator& b) { return a.m_at == b.m_at; }

    private:
        void skip()
        {
            while (m_at < m_h->size() && !(*m_h)[m_at].complete())
                ++m_at;
        }
        const History* m_h;
        std::size_t m_at;
        int m_row;
    };

    iterator begin() const { return {m_history, 0, m_firstRow}; }
    iterator end() const { return {m_history, m_history.size(), 0}; }

private:
    const History& m_history;
    int m_firstRow;
};

inline CompleteDrawRows completeDrawRows(const History& history, int firstRow)
{
    return {history, firstRow};
}

}  // namespace mirkano
