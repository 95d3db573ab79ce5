// The grid value texts of a time, formatted a block of rows at a time on
// several threads, so that the rows can be written in order afterwards.
#pragma once

#include "solution/FieldKernel.h"
#include "solution/LargeBuffer.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace kavrin {

class FieldText {
public:
    // The rows of one block: about 512 KB of text, at least one row. A small
    // block keeps the memory a run touches small; a large one starts fewer threads.
    static int blockRows(int columns);

    // Formats rows [first, last) of the field as "value " per point with CR LF
    // ending each row. The rows are split among `workers` threads; every
    // row's text is the same whatever their number.
    void format(const TimeField& field, int first, int last, char separator, unsigned workers);

    // The text of row k (0-based, y ascending) of the block formatted last, line end included.
    std::string_view row(int k) const
    {
        const std::size_t slot = static_cast<std::size_t>(k - first_);
        return {text_.data() + slot * rowCapacity_, lengths_[slot]};
    }

private:
    LargeBuffer<char> text_;  // row first_ + i starts at i × rowCapacity_
    std::vector<std::size_t> lengths_;
    std::size_t rowCapacity_ = 0;
    int first_ = 0;
};

}  // namespace kavrin
