#pragma once
// The one call into zxing-cpp, as a C function: a program that must not load the library
// (and the shared C++ runtime it brings) at start can load it when an image is first read.
#ifdef __cplusplus
extern "C" {
#endif

// EAN-13 13, EAN-8 8, UPC-A 12, UPC-E 6.
// Reads the first EAN/UPC symbol (bars upright, add-ons read) in width x height grey
// pixels; 1 when found, with its format, its text ("digits" or "digits addon", cut to
// textSize - 1 bytes) and the box of the rows read (x0, y0, x1, y1); 0 when none; -1
// when the reader could not be loaded (text then says why).
int strimlo_zxing_read(const unsigned char* pixels, int width, int height, int* format, char* text,
                       int textSize, int box[4]);

// QR Code (kind 1) or DataMatrix (kind 2): reads the first symbol of that kind in width x
// height grey pixels; 1 when found, with its text (cut to textSize - 1 bytes; *length the
// whole text's), its symbology identifier ("]Q1", "]d2": identifier holds 4 bytes) and
// its box (x0, y0, x1, y1); 0 when none; -1 when the reader could not be loaded (text
// then says why).
int strimlo_zxing_read_matrix(const unsigned char* pixels, int width, int height, int kind,
                              char* identifier, char* text, int textSize, int* length, int box[4]);

// Starts making the reader ready (loading the library where it is loaded on first use) so
// that the first read need not wait for it; optional, and cheap to call again.
void strimlo_zxing_preload(void);

#ifdef __cplusplus
}
#endif
