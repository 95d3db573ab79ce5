// libFuzzer's entry point for the target named by KAVRIN_FUZZ_TARGET.
#include "FuzzTargets.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    kavrin::fuzz::KAVRIN_FUZZ_TARGET(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
