#pragma once
// The fuzz targets' one assertion.
#include <cstdio>
#include <cstdlib>

// Stops the run loudly: libFuzzer keeps the input as a crash reproducer. Used instead of
// assert, which a release build compiles away.
#define FUZZ_CHECK(cond)                                                         \
  do {                                                                           \
    if (!(cond)) {                                                               \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                              \
    }                                                                            \
  } while (0)
