// The grid value texts of one time, formatted on several threads at once and
// kept by row, so that the rows can be written in order afterwards.
#pragma once

#include "solution/FieldKernel.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace kavrin {

class FieldText {
public:
    // Formats every value of the field as "value " with CR LF ending each row.
    // Rows are split among `workers` threads; every row's text is the same
    // whatever their number.
    void format(const TimeField& field, char separator, unsigned workers);

    // The text of row k (0-based, y ascending), line end included.
    std::string_view row(int k) const
    {
        return {text_.data() + static_cast<std::size_t>(k) * rowCapacity_, lengths_[static_cast<std::size_t>(k)]};
    }

private:
    std::vector<char> text_;  // row k starts at k × rowCapacity_
    std::vector<std::size_t> lengths_;
    std::size_t rowCapacity_ = 0;
};

}  // namespace kavrin
