#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

// Each target checks its properties on one input, given as bytes by libFuzzer (fuzz_entry.cpp)
// or by the corpus replay (replay_main.cpp).
void FuzzOne(std::string_view bytes);

// A broken property ends the run with its name, so libFuzzer and the replay report it.
inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}
