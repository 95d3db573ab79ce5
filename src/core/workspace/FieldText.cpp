#include "workspace/FieldText.h"

#include "solution/Parallel.h"
#include "text/NumberText.h"

namespace kavrin {

void FieldText::format(const TimeField& field, char separator, unsigned workers)
{
    rowCapacity_ = static_cast<std::size_t>(field.columns) * (kGridValueMaxLength + 1) + 2;
    const std::size_t size = rowCapacity_ * static_cast<std::size_t>(field.rows);
    if (text_.size() < size) text_.resize(size);
    lengths_.resize(static_cast<std::size_t>(field.rows));
    ParallelFor(field.rows, 1, workers, [&](int begin, int end) {
        for (int k = begin; k < end; ++k) {
            char* const first = text_.data() + static_cast<std::size_t>(k) * rowCapacity_;
            char* out = first;
            for (int j = 0; j < field.columns; ++j) {
                out = WriteGridValue(out, field.at(k, j), separator);
                *out++ = ' ';
            }
            *out++ = '\r';
            *out++ = '\n';
            lengths_[static_cast<std::size_t>(k)] = static_cast<std::size_t>(out - first);
        }
    });
}

}  // namespace kavrin
