/* Renders EAN-13 PNGs (300 dpi, 100 %) through the C API into memory, saving nothing,
 * on as many threads as there are processors: how fast a program that embeds the library
 * makes symbols. run_benchmarks.sh times it as a whole process beside a batch.
 *   library_png COUNT */
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <strimlo/strimlo.h>

static long count;
static long threads;

static void* work(void* arg) {
  const long first = (long)(size_t)arg;
  strimlo_request* r = strimlo_request_new();
  unsigned char* buf = NULL;
  size_t cap = 0;
  if (r == NULL || strimlo_set_format(r, STRIMLO_FORMAT_PNG) != STRIMLO_OK) return (void*)1;
  for (long i = first; i < count; i += threads) {
    char data[32];
    size_t n = 0;
    snprintf(data, sizeof data, "400638%06ld", i % 1000000);
    if (strimlo_set_data(r, data) != STRIMLO_OK || strimlo_render(r, NULL, 0, &n) != STRIMLO_OK)
      return (void*)1;
    if (n > cap) {
      free(buf);
      cap = n;
      buf = malloc(cap);
      if (buf == NULL) return (void*)1;
    }
    if (strimlo_render(r, buf, cap, &n) != STRIMLO_OK) return (void*)1;
  }
  free(buf);
  strimlo_request_free(r);
  return NULL;
}

int main(int argc, char** argv) {
  count = argc > 1 ? atol(argv[1]) : 1000;
  threads = sysconf(_SC_NPROCESSORS_ONLN);
  if (threads < 1) threads = 1;
  pthread_t ids[64];
  if (threads > 64) threads = 64;
  for (long t = 0; t < threads; ++t) pthread_create(&ids[t], NULL, work, (void*)(size_t)t);
  int failed = 0;
  for (long t = 0; t < threads; ++t) {
    void* result = NULL;
    pthread_join(ids[t], &result);
    failed |= result != NULL;
  }
  if (failed) fprintf(stderr, "library_png: a render failed\n");
  return failed;
}
