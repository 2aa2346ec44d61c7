/* An ISBN with its price add-on as a print-ready PDF and as an SVG, through libstrimlo.
 *   cc isbn.c $(pkg-config --cflags --libs strimlo) -o isbn && ./isbn */
#include <stdio.h>
#include <stdlib.h>

#include <strimlo/strimlo.h>

int main(void) {
  strimlo_request* r = strimlo_request_new();
  if (r == NULL) return 1;
  strimlo_set_type(r, STRIMLO_TYPE_ISBN13);
  strimlo_set_data(r, "978-3-16-148410-0");
  strimlo_set_addon(r, "51299");
  strimlo_set_price(r, "USD 12.99");

  /* A file on disk, replaced atomically. */
  strimlo_set_format(r, STRIMLO_FORMAT_PDF);
  if (strimlo_render_file(r, "cover.pdf") != STRIMLO_OK) {
    fprintf(stderr, "cover.pdf: %s\n", strimlo_error(r));
    return 1;
  }

  /* The same symbol in memory: ask for the size, then for the bytes. */
  strimlo_set_format(r, STRIMLO_FORMAT_SVG);
  size_t size = 0;
  if (strimlo_render(r, NULL, 0, &size) != STRIMLO_OK) {
    fprintf(stderr, "svg: %s\n", strimlo_error(r));
    return 1;
  }
  unsigned char* svg = malloc(size);
  if (svg == NULL || strimlo_render(r, svg, size, &size) != STRIMLO_OK) return 1;
  FILE* f = fopen("cover.svg", "wb");
  if (f == NULL || fwrite(svg, 1, size, f) != size || fclose(f) != 0) return 1;
  free(svg);
  strimlo_request_free(r);
  printf("cover.pdf and cover.svg written (libstrimlo %s)\n", strimlo_version());
  return 0;
}
