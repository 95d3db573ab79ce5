#include "workspace/FieldText.h"

#include "solution/Parallel.h"
#include "text/NumberText.h"

#include <algorithm>

namespace kavrin {

namespace {

constexpr std::size_t kBlockBytes = 512 * 1024;

std::size_t rowCapacity(int columns)
{
    return static_cast<std::size_t>(std::max(columns, 0)) * (kGridValueMaxLength + 1) + 2;
}

}  // namespace

int FieldText::blockRows(int columns)
{
    return static_cast<int>(std::max<std::size_t>(1, kBlockBytes / rowCapacity(columns)));
}

void FieldText::format(const TimeField& field, int first, int last, char separator, unsigned workers)
{
    first_ = first;
    rowCapacity_ = rowCapacity(field.columns);
    const std::size_t rows = static_cast<std::size_t>(last - first);
    if (text_.size() < rows * rowCapacity_) text_.resize(rows * rowCapacity_);
    lengths_.resize(rows);
    ParallelFor(last - first, 1, workers, [&](int begin, int end) {
        for (int slot = begin; slot < end; ++slot) {
            const int k = first + slot;
            char* const start = text_.data() + static_cast<std::size_t>(slot) * rowCapacity_;
            char* out = start;
            for (int j = 0; j < field.columns; ++j) {
                out = WriteGridValue(out, field.at(k, j), separator);
                *out++ = ' ';
            }
            *out++ = '\r';
            *out++ = '\n';
            lengths_[static_cast<std::size_t>(slot)] = static_cast<std::size_t>(out - start);
        }
    });
}

}  // namespace kavrin
