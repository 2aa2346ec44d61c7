"""Retail product barcodes: EAN-8, EAN-13, ISBN-10, ISBN-13, UPC-A, UPC-E, ISSN and ISMN,
with their add-ons, and GS1 Digital Link QR Codes and GS1 DataMatrix symbols, alone or
beside them, as EPS, PDF, SVG, PNG, TIFF or JPEG.

    import strimlo
    pdf = strimlo.render("978-3-16-148410-0", type="isbn13", addon="51299",
                         price="USD 12.99", format="pdf")
    strimlo.save("cover.svg", "978-3-16-148410-0", type="isbn13")

Bad input raises ValueError with the command line's message; a failed save raises
OSError. The functions release the GIL while they work, so threads render in parallel.
"""

from ._strimlo import Symbol, __version__, complete, render, save

__all__ = ["Symbol", "__version__", "complete", "render", "save"]
