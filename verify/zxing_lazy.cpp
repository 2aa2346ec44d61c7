// zxing-cpp loaded on the first image read rather than at start: with the shared C++
// runtime it brings, mapping it cost a one-file run of the static command line 1.4 ms of
// its 2 to 3. The module holds zxing_read.cpp, linked to the library; bound lazily, as
// most of its cost when loaded was resolving symbols no run calls. A run that knows it
// will read (--verify, --check) starts the loading at once on a thread of its own, so that
// it goes on beside the drawing instead of after it.
#include <dlfcn.h>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "zxing_read.h"

namespace {

using Read = int(const unsigned char*, int, int, int*, char*, int, int*);
using ReadMatrix = int(const unsigned char*, int, int, int, char*, char*, int, int*, int*);

// Never destroyed: a loading thread may still be at work when the program ends.
struct Loader {
  std::once_flag started;
  std::mutex mutex;
  std::condition_variable loaded;
  bool done = false;
  Read* read = nullptr;
  ReadMatrix* readMatrix = nullptr;
};

Loader& loader() {
  static Loader* const l = new Loader;
  return *l;
}

void load(Loader& l) {
  void* handle = dlopen(STRIMLO_ZXING_MODULE, RTLD_LAZY | RTLD_LOCAL);
  Read* read = handle ? reinterpret_cast<Read*>(dlsym(handle, "strimlo_zxing_read")) : nullptr;
  ReadMatrix* readMatrix =
      handle ? reinterpret_cast<ReadMatrix*>(dlsym(handle, "strimlo_zxing_read_matrix")) : nullptr;
  {
    std::lock_guard lock(l.mutex);
    l.read = read;
    l.readMatrix = readMatrix;
    l.done = true;
  }
  l.loaded.notify_all();
}

}  // namespace

extern "C" void strimlo_zxing_preload(void) {
  Loader& l = loader();
  std::call_once(l.started, [&l] {
    try {
      std::thread([&l] { load(l); }).detach();
    } catch (...) {
      load(l);  // no thread to be had: load here and now
    }
  });
}

namespace {

// The loaded library, once it is: waits for the loading thread.
Loader& loaded() {
  strimlo_zxing_preload();
  Loader& l = loader();
  std::unique_lock lock(l.mutex);
  l.loaded.wait(lock, [&l] { return l.done; });
  return l;
}

int notLoaded(char* text, int textSize) {
  if (textSize > 0) std::snprintf(text, static_cast<std::size_t>(textSize), "zxing-cpp could not be loaded (%s)", STRIMLO_ZXING_MODULE);
  return -1;
}

}  // namespace

extern "C" int strimlo_zxing_read_matrix(const unsigned char* pixels, int width, int height, int kind,
                                         char* identifier, char* text, int textSize, int* length,
                                         int box[4]) {
  ReadMatrix* read = loaded().readMatrix;
  if (read == nullptr) return notLoaded(text, textSize);
  return read(pixels, width, height, kind, identifier, text, textSize, length, box);
}

extern "C" int strimlo_zxing_read(const unsigned char* pixels, int width, int height, int* format,
                                  char* text, int textSize, int box[4]) {
  strimlo_zxing_preload();
  Loader& l = loader();
  Read* read = nullptr;
  {
    std::unique_lock lock(l.mutex);
    l.loaded.wait(lock, [&l] { return l.done; });
    read = l.read;
  }
  if (read == nullptr) {
    if (textSize > 0) std::snprintf(text, static_cast<std::size_t>(textSize), "zxing-cpp could not be loaded (%s)", STRIMLO_ZXING_MODULE);
    return -1;
  }
  return read(pixels, width, height, format, text, textSize, box);
}
