#pragma once

// The rows of a list: heap records that the list owns, kept in order behind
// the list's item lock. Every operation takes the lock itself (it is
// re-entrant, so a caller may already hold it); the record pointers never
// leave the store except through Copy, whose records stay valid only until
// the list next removes rows.

#include <algorithm>
#include <memory>
#include <vector>

#include "ui/framework/CriticalSection.h"

namespace VREL {

template <class Record>
class RowStore
{
public:
    explicit RowStore(CriticalSection& lock) : m_lock(lock) {}
    ~RowStore() { Clear(); }

    RowStore(const RowStore&) = delete;
    RowStore& operator=(const RowStore&) = delete;

    int Count() const
    {
        ScopedLock lock(m_lock);
        return static_cast<int>(m_rows.size());
    }
    bool Has(int index) const
    {
        ScopedLock lock(m_lock);
        return index >= 0 && index < static_cast<int>(m_rows.size());
    }

    // Appends; the index of the new last row.
    int Append(std::unique_ptr<Record> record)
    {
        ScopedLock lock(m_lock);
        m_rows.push_back(record.release());
        return static_cast<int>(m_rows.size()) - 1;
    }
    // Before row index (the end when index is the count); false when index
    // is outside 0..count.
    bool Insert(int index, std::unique_ptr<Record> record)
    {
        ScopedLock lock(m_lock);
        if (index < 0 || index > static_cast<int>(m_rows.size()))
            return false;
        m_rows.insert(m_rows.begin() + index, record.release());
        return true;
    }
    bool Remove(int index)
    {
        std::unique_ptr<Record> gone;
        ScopedLock lock(m_lock);
        if (index < 0 || index >= static_cast<int>(m_rows.size()))
            return false;
        gone.reset(m_rows[static_cast<size_t>(index)]);
        m_rows.erase(m_rows.begin() + index);
        return true;
    }
    // Removes, from the last row to the first, every row that pred accepts;
    // how many went.
    template <class Pred>
    int RemoveIf(Pred pred)
    {
        ScopedLock lock(m_lock);
        int removed = 0;
        for (int i = static_cast<int>(m_rows.size()) - 1; i >= 0; --i)
        {
            if (!pred(*m_rows[static_cast<size_t>(i)]))
                continue;
            delete m_rows[static_cast<size_t>(i)];
            m_rows.erase(m_rows.begin() + i);
            ++removed;
        }
        return removed;
    }
    void Clear()
    {
        ScopedLock lock(m_lock);
        for (Record* record : m_rows)
            delete record;
        m_rows.clear();
    }
    bool Swap(int a, int b)
    {
        ScopedLock lock(m_lock);
        if (a == b || !Has(a) || !Has(b))
            return false;
        std::swap(m_rows[static_cast<size_t>(a)], m_rows[static_cast<size_t>(b)]);
        return true;
    }
    // Takes row `from` out and puts it back before row `to` of the rows left
    // (the end when `to` is their count).
    bool Move(int from, int to)
    {
        ScopedLock lock(m_lock);
        if (!Has(from))
            return false;
        Record* record = m_rows[static_cast<size_t>(from)];
        m_rows.erase(m_rows.begin() + from);
        to = std::min(std::max(to, 0), static_cast<int>(m_rows.size()));
        m_rows.insert(m_rows.begin() + to, record);
        return true;
    }

    // Runs fn on the row under the lock; false (fn not run) for no such row.
    template <class Fn>
    bool With(int index, Fn fn)
    {
        ScopedLock lock(m_lock);
        if (!Has(index))
            return false;
        fn(*m_rows[static_cast<size_t>(index)]);
        return true;
    }
    // The first row that pred accepts, -1 for none.
    template <class Pred>
    int Find(Pred pred) const
    {
        ScopedLock lock(m_lock);
        for (size_t i = 0; i < m_rows.size(); ++i)
            if (pred(*m_rows[i]))
                return static_cast<int>(i);
        return -1;
    }
    // Runs fn(row, index) on every row in order, under the lock.
    template <class Fn>
    void ForEach(Fn fn)
    {
        ScopedLock lock(m_lock);
        for (size_t i = 0; i < m_rows.size(); ++i)
            fn(*m_rows[i], static_cast<int>(i));
    }

    // Only with the lock held.
    Record* AtLocked(int index) const
    {
        return index >= 0 && index < static_cast<int>(m_rows.size()) ? m_rows[static_cast<size_t>(index)] : nullptr;
    }
    // The row's text (a record with a text member); false for no such row.
    template <class Text>
    bool TextAtLocked(int index, Text& text) const
    {
        const Record* record = AtLocked(index);
        if (!record)
            return false;
        text = record->text;
        return true;
    }
    template <class Text>
    void SetTextAtLocked(int index, const Text& text)
    {
        if (Record* record = AtLocked(index))
            record->text = text;
    }
    std::vector<Record*> Copy() const
    {
        ScopedLock lock(m_lock);
        return m_rows;
    }

private:
    CriticalSection& m_lock;
    std::vector<Record*> m_rows;
};

} // namespace VREL
