// The counted array of 64-bit reals that the token writer and reader exchange.
#ifndef SCN_TOKEN_TABLE_H
#define SCN_TOKEN_TABLE_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace NvScn {

// A table of reals: count, capacity and values; a new table holds count zeros.
class CTable {
public:
    // A table of count zero values (none for a count below 1).
    explicit CTable(int32_t count = 0) : mValues(count > 0 ? static_cast<size_t>(count) : 0u) {}

    int32_t getCount() const { return static_cast<int32_t>(mValues.size()); }
    // The value at index; 0 outside the table.
    double getValue(int32_t index) const
    {
        return index >= 0 && static_cast<size_t>(index) < mValues.size() ? mValues[index] : 0.0;
    }
    // Replaces the value at index; ignored outside the table.
    void setValue(int32_t index, double value)
    {
        if (index >= 0 && static_cast<size_t>(index) < mValues.size()) {
            mValues[index] = value;
        }
    }
    // Appends a value (the readers grow tables as values arrive).
    void append(double value) { mValues.push_back(value); }
    // Makes room for count values without changing the count.
    void reserve(size_t count) { mValues.reserve(count); }
    const double* values() const { return mValues.data(); }

private:
    std::vector<double> mValues;
};

}  // namespace NvScn

#endif
