// zxing-cpp loaded on the first image read rather than at start: with the shared C++
// runtime it brings, mapping it cost a one-file run of the static command line 1.4 ms of
// its 2 to 3. The module holds zxing_read.cpp, linked to the library; bound lazily, as
// most of its cost when loaded was resolving symbols no run calls.
#include <dlfcn.h>

#include <cstdio>

#include "zxing_read.h"

extern "C" int strimlo_zxing_read(const unsigned char* pixels, int width, int height, int* format,
                                  char* text, int textSize, int box[4]) {
  using Read = int(const unsigned char*, int, int, int*, char*, int, int*);
  static Read* const read = [] {
    void* handle = dlopen(STRIMLO_ZXING_MODULE, RTLD_LAZY | RTLD_LOCAL);
    return handle ? reinterpret_cast<Read*>(dlsym(handle, "strimlo_zxing_read")) : nullptr;
  }();
  if (read == nullptr) {
    if (textSize > 0) std::snprintf(text, static_cast<std::size_t>(textSize), "zxing-cpp could not be loaded (%s)", STRIMLO_ZXING_MODULE);
    return -1;
  }
  return read(pixels, width, height, format, text, textSize, box);
}
