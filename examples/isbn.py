"""An ISBN with its price add-on as a print-ready PDF and as an SVG, through the Python
module strimlo (package python3-strimlo).
    python3 isbn.py
"""
import strimlo

isbn = dict(type="isbn13", data="978-3-16-148410-0", addon="51299", price="USD 12.99")

# The file's bytes, made in memory.
with open("cover.pdf", "wb") as f:
    f.write(strimlo.render(format="pdf", **isbn))

# A file on disk, replaced atomically; its name chooses the format.
strimlo.save("cover.svg", **isbn)

digits = strimlo.complete(**isbn).digits
print(f"cover.pdf and cover.svg written (strimlo {strimlo.__version__}, {digits})")
