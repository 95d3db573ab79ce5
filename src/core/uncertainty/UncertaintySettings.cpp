#include "uncertainty/UncertaintySettings.h"

namespace kavrin {

namespace {

// index · N / count without overflow for N up to 2^40 and count up to 2^20.
std::uint64_t shareStart(std::uint64_t realizations, int index, int count)
{
    return static_cast<std::uint64_t>(static_cast<unsigned __int128>(realizations) * static_cast<unsigned>(index) /
                                      static_cast<unsigned>(count));
}

}  // namespace

std::uint64_t RealizationPart::first(std::uint64_t realizations) const
{
    return shareStart(realizations, index - 1, count);
}

std::uint64_t RealizationPart::end(std::uint64_t realizations) const
{
    return shareStart(realizations, index, count);
}

}  // namespace kavrin
