#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property ends the run with its name, so libFuzzer and the replay report it.
inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}
