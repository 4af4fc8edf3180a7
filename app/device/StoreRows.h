#pragma once

#include <vector>

// Owns the records that a settings-store list reader hands out, so every
// early return of a command frees them.
template <class Row>
class StoreRows {
public:
    StoreRows() = default;
    ~StoreRows() { Clear(); }
    StoreRows(const StoreRows&) = delete;
    StoreRows& operator=(const StoreRows&) = delete;

    // The vector to pass to the reader; it deletes what it held before reading.
    std::vector<Row*>& Out() { return rows_; }
    const std::vector<Row*>& Rows() const { return rows_; }

    void Clear()
    {
        for (Row* row : rows_)
            delete row;
        rows_.clear();
    }

private:
    std::vector<Row*> rows_;
};
