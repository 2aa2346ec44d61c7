#pragma once
// Printing the symbol at its exact size: the file layout drawn as vector shapes on the
// printer's page, never as an image and never scaled to fit.
#include <QRectF>
#include <vector>

#include "layout.h"

class QPrinter;

namespace strimlo {

struct SymbolChoice;

// The dark areas of a layout as rectangles in its units, y upward: one per run of
// neighbouring bars of equal height, so a page shows no seams between modules.
std::vector<QRectF> darkRects(const Layout& layout);

// Prints the symbol at the chosen size (magnification) in the middle of the paper.
// False when the texts make no symbol, the font is missing or the printer fails.
bool printSymbol(QPrinter& printer, const SymbolChoice& choice);

}  // namespace strimlo
