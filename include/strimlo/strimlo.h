/* libstrimlo: retail product barcodes (EAN-8, EAN-13, ISBN-10, ISBN-13, UPC-A, UPC-E,
 * ISSN, ISMN, with 2- and 5-digit add-ons; GS1 Digital Link QR Code and GS1 DataMatrix,
 * alone or beside the linear symbol) as EPS, PDF/X-1a, SVG, PNG, TIFF or JPEG.
 *
 * A request holds every choice for one symbol; strimlo_render() makes the file in
 * memory, strimlo_render_file() replaces a file with it atomically.
 *
 * Every function checks its arguments: a null pointer, an enumeration value outside
 * its list, a text that is not UTF-8 or holds a control character gets an error code,
 * never a crash. After any call on a request, strimlo_error() tells why it failed.
 *
 * Threads: different requests may be used on different threads at the same time; one
 * request must not be used by two threads at once. strimlo_version() and
 * strimlo_status_text() may be called from any thread.
 */
#ifndef STRIMLO_STRIMLO_H
#define STRIMLO_STRIMLO_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define STRIMLO_API __attribute__((visibility("default")))
#else
#define STRIMLO_API
#endif

#define STRIMLO_VERSION_MAJOR 1
#define STRIMLO_VERSION_MINOR 2
#define STRIMLO_VERSION_PATCH 0

typedef enum strimlo_status {
  STRIMLO_OK = 0,
  STRIMLO_ERROR_NULL = 1,          /* a required pointer was NULL */
  STRIMLO_ERROR_ARGUMENT = 2,      /* a value outside its list or range */
  STRIMLO_ERROR_TEXT = 3,          /* a text that is not UTF-8 or holds a control character */
  STRIMLO_ERROR_REFUSED = 4,       /* the data cannot be encoded as this type */
  STRIMLO_ERROR_CHECK_DIGIT = 5,   /* strict, and the typed check character is wrong */
  STRIMLO_ERROR_BUFFER_TOO_SMALL = 6, /* *size holds the size needed */
  STRIMLO_ERROR_NO_FONT = 7,       /* the face asked for is not installed: Nimbus Sans
                                      (fonts-urw-base35) or OCR-B (fonts-ocr-b) */
  STRIMLO_ERROR_TOO_LARGE = 8,     /* the image or file cannot be made in memory */
  STRIMLO_ERROR_WRITE = 9,         /* the file could not be saved; nothing was changed */
  STRIMLO_ERROR_INTERNAL = 10      /* a writer failed */
} strimlo_status;

typedef enum strimlo_type {
  STRIMLO_TYPE_EAN8 = 0,
  STRIMLO_TYPE_EAN13 = 1,
  STRIMLO_TYPE_ISBN10 = 2,
  STRIMLO_TYPE_ISBN13 = 3,
  STRIMLO_TYPE_UPCA = 4,
  STRIMLO_TYPE_UPCE = 5,
  STRIMLO_TYPE_ISSN = 6,
  STRIMLO_TYPE_ISMN = 7,
  STRIMLO_TYPE_GS1_QR = 8,         /* QR Code holding the GTIN's GS1 Digital Link URI */
  STRIMLO_TYPE_GS1_DATAMATRIX = 9  /* GS1 DataMatrix holding (01) and the GTIN */
} strimlo_type;

typedef enum strimlo_format {
  STRIMLO_FORMAT_EPS = 0,
  STRIMLO_FORMAT_PNG = 1,   /* greyscale */
  STRIMLO_FORMAT_TIFF = 2,  /* CMYK */
  STRIMLO_FORMAT_JPEG = 3,  /* CMYK */
  STRIMLO_FORMAT_PDF = 4,   /* PDF/X-1a, black on the K plate */
  STRIMLO_FORMAT_SVG = 5
} strimlo_format;

/* The face of every text of the symbol. */
typedef enum strimlo_font {
  STRIMLO_FONT_SANS = 0,  /* Helvetica, as Nimbus Sans */
  STRIMLO_FONT_OCRB = 1   /* OCR-B; EPS, PDF and SVG carry it as outlines */
} strimlo_font;

/* QR Code error correction: the share of the symbol that may be lost and still read. The
 * values are the letters, so 'Q' may be passed as well as STRIMLO_ECC_Q. */
typedef enum strimlo_ecc {
  STRIMLO_ECC_L = 'L',  /* about 7 % */
  STRIMLO_ECC_M = 'M',  /* about 15 %, the default */
  STRIMLO_ECC_Q = 'Q',  /* about 25 % */
  STRIMLO_ECC_H = 'H'   /* about 30 % */
} strimlo_ecc;

/* The 2D symbol a linear one may carry beside it (dual marking), from the same GTIN. */
typedef enum strimlo_companion {
  STRIMLO_COMPANION_NONE = 0,
  STRIMLO_COMPANION_QR = 1,         /* QR Code holding the GS1 Digital Link URI */
  STRIMLO_COMPANION_DATAMATRIX = 2  /* GS1 DataMatrix holding the element string */
} strimlo_companion;

typedef struct strimlo_request strimlo_request;

/* "1.2.0" */
STRIMLO_API const char* strimlo_version(void);
/* A short English text for a status, never NULL. */
STRIMLO_API const char* strimlo_status_text(strimlo_status status);

/* A request for an EAN-13 EPS at 100 %, 300 dpi, no add-on, no prepress options.
 * NULL when memory runs out. */
STRIMLO_API strimlo_request* strimlo_request_new(void);
/* NULL is allowed. */
STRIMLO_API void strimlo_request_free(strimlo_request* request);

STRIMLO_API strimlo_status strimlo_set_type(strimlo_request* request, strimlo_type type);
/* "ean8", "ean13", "isbn10", "isbn13", "upca", "upce", "issn", "ismn", "gs1-qr",
 * "gs1-datamatrix" */
STRIMLO_API strimlo_status strimlo_set_type_name(strimlo_request* request, const char* name);
STRIMLO_API strimlo_status strimlo_set_format(strimlo_request* request, strimlo_format format);
/* "eps", "png", "tiff" or "tif", "jpeg" or "jpg", "pdf", "svg" */
STRIMLO_API strimlo_status strimlo_set_format_name(strimlo_request* request, const char* name);

/* Texts are UTF-8; NULL or "" clears one. The data may carry hyphens or spaces as typed;
 * an ISSN's sequence variant may follow its number after a space, or come separately. */
STRIMLO_API strimlo_status strimlo_set_data(strimlo_request* request, const char* utf8);
STRIMLO_API strimlo_status strimlo_set_addon(strimlo_request* request, const char* utf8);
STRIMLO_API strimlo_status strimlo_set_price(strimlo_request* request, const char* utf8);
STRIMLO_API strimlo_status strimlo_set_variant(strimlo_request* request, const char* utf8);
/* ISBN, ISMN: "USD 19.99" (also CAD, GBP, AUD, NZD; at most two decimals) or "none" sets
 * the 5-digit price add-on (51999, 90000) and, with no price set, the price line; it does
 * not go with an add-on. NULL or "" clears it. */
STRIMLO_API strimlo_status strimlo_set_price_code(strimlo_request* request, const char* text);
/* The ISBN agency's RangeMessage.xml, which hyphenates ISBN lines typed without hyphens
 * (a note names the right form of other hyphens); NULL or "" for none, the line as typed.
 * The library reads no variable to find one. */
STRIMLO_API strimlo_status strimlo_set_ranges(strimlo_request* request, const char* path);
/* Non-zero: typed ISBN hyphens that differ from the ranges' are replaced by them. */
STRIMLO_API strimlo_status strimlo_set_hyphenate(strimlo_request* request, int on);

/* Magnification 0..9 (82 % to 197 %; 2 is 100 %) and raster resolution 0..7 (72 to
 * 3200 dpi; 2 is 300 dpi), the lists of the command line's --size and --res. */
STRIMLO_API strimlo_status strimlo_set_size(strimlo_request* request, int size);
STRIMLO_API strimlo_status strimlo_set_resolution(strimlo_request* request, int res);
/* Any size instead of the lists, as the command line's --magnification (75..200 %),
 * --module (0.2475..0.66 mm), --dpi (72..4800, rasters), --no-snap (snap 0), --snap-dpi
 * (vector files: the imaging device's dots) and --height (mm, 50..100 % of the nominal
 * bar height). 0 clears a value, giving the list's size or resolution back; snapping is on
 * unless set off. A value out of range is refused with its range.
 * The module of a 2D type (STRIMLO_TYPE_GS1_QR, _DATAMATRIX) is its X dimension within
 * GS1's retail table, 0.396..0.990 mm (target 0.495, the default); it takes a dpi but no
 * magnification, snap dpi or bar height. The type may be set before or after the module:
 * a module that only the other kind of type takes is accepted here and refused, with its
 * type's range, when the file is made. */
STRIMLO_API strimlo_status strimlo_set_magnification(strimlo_request* request, double percent);
STRIMLO_API strimlo_status strimlo_set_module(strimlo_request* request, double millimetres);
STRIMLO_API strimlo_status strimlo_set_dpi(strimlo_request* request, int dpi);
STRIMLO_API strimlo_status strimlo_set_snap(strimlo_request* request, int on);
STRIMLO_API strimlo_status strimlo_set_snap_dpi(strimlo_request* request, int dpi);
STRIMLO_API strimlo_status strimlo_set_bar_height(strimlo_request* request, double millimetres);
/* Non-zero: a wrong typed check character refuses instead of being replaced. */
STRIMLO_API strimlo_status strimlo_set_strict(strimlo_request* request, int strict);
/* Prepress: light margins with their marks; bar width reduction 0..100 micrometres;
 * a clear background (PNG and EPS only). */
STRIMLO_API strimlo_status strimlo_set_quiet_zones(strimlo_request* request, int on);
STRIMLO_API strimlo_status strimlo_set_bar_reduction(strimlo_request* request, int microns);
STRIMLO_API strimlo_status strimlo_set_transparent(strimlo_request* request, int on);
/* The face of the texts (STRIMLO_FONT_SANS by default); non-zero outline: texts as filled
 * outlines, so that an EPS names no font and a PDF embeds none. */
STRIMLO_API strimlo_status strimlo_set_font(strimlo_request* request, strimlo_font font);
STRIMLO_API strimlo_status strimlo_set_outline_text(strimlo_request* request, int outline);

/* The 2D part (since 1.2): the GS1 data of a 2D type, or of a linear symbol's companion.
 * The GTIN is the data (8, 12, 13 or 14 digits, or an ISBN, ISSN or ISMN).
 * ai: further element strings, "(10)ABC123(17)271231": 10 batch/lot, 21 serial, 22 variant
 *   (up to 20 characters of GS1's set 82), 11, 15, 17 (dates YYMMDD), 3100..3105 net weight
 *   in kg, 3920..3923 price; anything else is refused naming the AI and the rule.
 * dl_domain: the QR Code's Digital Link resolver, "https://brand.example" (a host, a port,
 *   path segments; https only); NULL or "" for https://id.gs1.org.
 * These two texts, as every text, NULL or "" clear; a refused one leaves the request as it
 * was, with STRIMLO_ERROR_TEXT (not UTF-8, a control character, over 4096 bytes) or
 * STRIMLO_ERROR_ARGUMENT (the rule broken, in strimlo_error()). */
STRIMLO_API strimlo_status strimlo_set_ai(strimlo_request* request, const char* elements);
STRIMLO_API strimlo_status strimlo_set_dl_domain(strimlo_request* request, const char* url);
/* The QR Code's error correction level (STRIMLO_ECC_M by default). */
STRIMLO_API strimlo_status strimlo_set_ecc(strimlo_request* request, strimlo_ecc level);
/* EAN-8, EAN-13, UPC-A, UPC-E, ISBN, ISSN, ISMN: the 2D symbol of the same GTIN right of the
 * linear one, bottoms aligned, in one file; a 2D type with a companion is refused when the
 * file is made. Its X dimension in mm, 0.396..0.990; 0 for the target, 0.495. */
STRIMLO_API strimlo_status strimlo_set_companion(strimlo_request* request, strimlo_companion companion);
STRIMLO_API strimlo_status strimlo_set_companion_module(strimlo_request* request, double millimetres);
/* Non-zero (the default): the "(01) GTIN" line under the 2D symbol. */
STRIMLO_API strimlo_status strimlo_set_gtin_text(strimlo_request* request, int on);

/* Makes the file. With buffer NULL (capacity 0), only *size is set to the bytes needed;
 * a buffer smaller than that gets STRIMLO_ERROR_BUFFER_TOO_SMALL with *size set, and the
 * next call on an unchanged request copies the file made then without making it again. */
STRIMLO_API strimlo_status strimlo_render(strimlo_request* request, unsigned char* buffer,
                                          size_t capacity, size_t* size);
/* Replaces the file at path (atomically, synced before it returns). */
STRIMLO_API strimlo_status strimlo_render_file(strimlo_request* request, const char* path);

/* Why the last call on this request failed (UTF-8), "" after a success. Valid until the
 * next call on the request. */
STRIMLO_API const char* strimlo_error(const strimlo_request* request);
/* Notes from the last render: a check character replaced, a text cut, an add-on a type
 * takes none of. index from 0; NULL past the last. */
STRIMLO_API const char* strimlo_note(const strimlo_request* request, size_t index);

#ifdef __cplusplus
}
#endif

#endif /* STRIMLO_STRIMLO_H */
