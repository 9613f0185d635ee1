// Shared helpers of the fuzz harnesses: an invariant check that stops the run
// with the values at fault, and the cut of one input into parts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/textfile.h"

// Stops the run (libFuzzer then saves the input) when cond is false.
#define FUZZ_CHECK(cond, ...)                                  \
  do {                                                         \
    if (!(cond)) {                                             \
      std::fprintf(stderr, "invariant failed: %s\n  ", #cond); \
      std::fprintf(stderr, __VA_ARGS__);                       \
      std::fprintf(stderr, "\n");                              \
      std::abort();                                            \
    }                                                          \
  } while (0)

inline std::string_view FuzzBytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The parts of text between NUL bytes (at most maxParts; the last takes the rest).
inline std::vector<std::string_view> FuzzParts(std::string_view text, std::size_t maxParts) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < maxParts) {
    const std::size_t nul = text.find('\0');
    if (nul == std::string_view::npos) break;
    parts.push_back(text.substr(0, nul));
    text.remove_prefix(nul + 1);
  }
  parts.push_back(text);
  return parts;
}
