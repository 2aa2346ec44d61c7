/* A program as a user of libstrimlo-dev writes it, built by the package test with
 * "cc example.c $(pkg-config --cflags --libs strimlo)": the ISBN-13 symbol as an SVG,
 * written to the file named by the first argument. */
#include <stdio.h>
#include <stdlib.h>
#include <strimlo/strimlo.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s OUT.svg\n", argv[0]);
    return 2;
  }
  strimlo_request* r = strimlo_request_new();
  int ok = r != NULL && strimlo_set_type_name(r, "isbn13") == STRIMLO_OK &&
           strimlo_set_data(r, "978-3-16-148410-0") == STRIMLO_OK &&
           strimlo_set_format(r, STRIMLO_FORMAT_SVG) == STRIMLO_OK;
  size_t n = 0;
  if (ok) strimlo_render(r, NULL, 0, &n); /* n: the size the file needs */
  char* buffer = ok && n > 0 ? malloc(n) : NULL;
  ok = buffer != NULL && strimlo_render(r, buffer, n, &n) == STRIMLO_OK;
  FILE* out = ok ? fopen(argv[1], "wb") : NULL;
  ok = out != NULL && fwrite(buffer, 1, n, out) == n;
  if (out != NULL && fclose(out) != 0) ok = 0;
  free(buffer);
  if (r != NULL) strimlo_request_free(r);
  if (!ok) fprintf(stderr, "%s: no symbol written\n", argv[0]);
  return ok ? 0 : 1;
}
