// The Gemma reader on any bytes (invariants in fuzz_import.h).
#include "fuzz/fuzz_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzForeignFormat(ForeignFormat::Gemma, data, size);
}
