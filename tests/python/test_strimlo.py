"""The Python module: its calls and refusals (with the command line's messages), files
that decode in every format, atomic saves, and threads that render what one thread does."""

import ast
import io
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest

import strimlo

CLI = os.environ.get("STRIMLO_CLI", "")  # strimlo-cli of the same build
ISBN = "978-3-16-148410-0"
TYPES = "ean8, ean13, isbn10, isbn13, upca, upce, issn, ismn, gs1-qr, gs1-datamatrix"
OPAQUE = "TIFF and JPEG files are opaque CMYK: a transparent background needs PNG (or EPS)"


def symbol(digits, line="", addon="", price="", notes=()):
    return {"digits": digits, "line": line, "addon": addon, "price": price, "notes": list(notes)}


# One call a row: the function, its arguments, and what it gives - the completed symbol's
# fields, a file's first bytes, or the exception and its message. Where the command line
# takes the same request, its arguments follow: it must say the same.
CALLS = [
    # EAN-13's check digit computed, and a wrong one replaced with a note
    ("complete", dict(data="401234567890"), symbol("4012345678901"), None),
    ("complete", dict(data="4012345678900"),
     symbol("4012345678901", notes=["check character 0 is wrong; 1 expected, replaced"]), None),
    # strict: the wrong check digit refuses
    ("complete", dict(data="4012345678900", strict=True),
     (ValueError, "check character 0 is wrong; 1 expected"), ["--strict", "4012345678900"]),
    # an ISBN-13 with add-on and price keeps its texts as typed
    ("complete", dict(type="isbn13", data=ISBN, addon="51299", price="USD 12.99"),
     symbol("9783161484100", "ISBN " + ISBN, "51299", "USD 12.99"), None),
    # an ISBN-10 becomes the EAN-13 of its 978 form
    ("complete", dict(type="isbn10", data="0-306-40615-2"),
     symbol("9780306406157", "ISBN 0-306-40615-2"), None),
    # an ISSN with its sequence variant and a 2-digit add-on
    ("complete", dict(type="issn", data="0317-8471", variant="03", addon="03"),
     symbol("9770317847032", "ISSN 0317-8471", "03"), None),
    # UPC-E from its six digits; the price of a type that takes none is left out, noted
    ("complete", dict(type="upce", data="123456", price="1.00"),
     symbol("01234565", notes=["price: UPC-E takes none; left out"]), None),
    # an ISBN add-on of other than 5 digits is refused, as on the command line
    ("complete", dict(type="isbn13", data=ISBN, addon="123"),
     (ValueError, 'the add-on must be 5 digits; got "123"'),
     ["--type", "isbn13", "--addon", "123", ISBN]),
    # Windows-1252 text beyond ASCII survives the 8-bit round trip; the rest becomes "?"
    ("complete", dict(type="isbn13", data=ISBN, addon="51299", price="€ 9,90 £ ₽"),
     symbol("9783161484100", "ISBN " + ISBN, "51299", "€ 9,90 £ ?",
            notes=['price: characters outside Windows-1252 became "?"']), None),
    # a price code gives the add-on and, with no price, the price line
    ("complete", dict(type="isbn13", data="9783161484100", price_code="USD 19.99"),
     symbol("9783161484100", "ISBN 9783161484100", "51999", "USD 19.99"), None),
    # an ISBN-13 in the ISMN range is refused, as on the command line
    ("complete", dict(type="isbn13", data="9790260000438"),
     (ValueError, "979-0 is the ISMN range: use --type ismn"), ["--type", "isbn13", "9790260000438"]),
    # texts the encoders refuse
    ("complete", dict(data="12345"), (ValueError, "EAN-13 needs 12 or 13 digits; got 5"), ["12345"]),
    ("complete", dict(type="upca", data="03600029145", addon="123"),
     (ValueError, 'the add-on must be 2 or 5 digits; got "123"'),
     ["--type", "upca", "--addon", "123", "03600029145"]),
    ("render", dict(type="ismn", data="978-0-306-40615-7"),
     (ValueError, 'an ISMN starts 979-0 (or M); got "978-0-306-40615-7"'),
     ["--type", "ismn", "978-0-306-40615-7"]),
    # texts no symbol may carry
    ("complete", dict(data="40123456789\n01"),
     (ValueError, "data: holds a control character (a line break, tab or the like)"), None),
    ("render", dict(data="401234567890", price="\ud800"), (ValueError, "price: not valid UTF-8"), None),
    ("complete", dict(data=401234567890), (TypeError, None), None),
    # choices outside their lists
    ("complete", dict(type="qr", data="1"), (ValueError, f'unknown code type "qr"; one of {TYPES}'), None),
    ("render", dict(data="401234567890", format="gif"),
     (ValueError, 'unknown file format "gif"; one of eps, png, tiff, jpeg, pdf, svg'), None),
    ("render", dict(data="401234567890", size=10), (ValueError, "size must be 0 to 9"), None),
    ("render", dict(data="401234567890", size=-2**40), (ValueError, "size must be 0 to 9"), None),
    ("render", dict(data="401234567890", res=8), (ValueError, "resolution must be 0 to 7"), None),
    ("render", dict(data="401234567890", bar_reduction=101),
     (ValueError, "the bar width reduction must be 0 to 100 micrometres"), None),
    ("render", dict(data="401234567890", magnification=250.0),
     (ValueError, "magnification 250 is outside 75 to 200 %"), None),
    ("render", dict(data="401234567890", format="pdf", height=5.0),
     (ValueError, "bar height 5 mm is outside 11.16 to 22.31 mm (50 to 100 % of the nominal height at this size)"),
     None),
    ("render", dict(data="401234567890", format="jpg", transparent=True), (ValueError, OPAQUE),
     ["--format", "jpeg", "--transparent", "401234567890"]),
    ("render", dict(data="401234567890", font="arial"), (ValueError, 'font: sans or ocrb, not "arial"'),
     None),
    # every format's file, by its first bytes; the aliases jpg and tif
    ("render", dict(data="401234567890"), b"%!PS-Adobe-2.0 EPSF-1.2", None),
    ("render", dict(data="401234567890", format="pdf"), b"%PDF-", None),
    ("render", dict(data="401234567890", format="svg"), b"<?xml", None),
    ("render", dict(data="401234567890", format="png", transparent=True), b"\x89PNG\r\n\x1a\n", None),
    ("render", dict(data="401234567890", format="tif"), b"II*\x00", None),
    ("render", dict(data="401234567890", format="jpg", quiet_zones=True), b"\xff\xd8\xff", None),
    ("render", dict(data="401234567890", format="png", magnification=120.5, dpi=203), b"\x89PNG\r\n\x1a\n", None),
    ("render", dict(data="401234567890", format="pdf", font="ocrb", outline_text=True), b"%PDF-", None),
    # the 2D types hold the GTIN-14 with its AIs: the Digital Link URI, the element string
    ("complete", dict(type="gs1-qr", data="978-0-306-40615-7", ai="(10)ABC123(17)271231"),
     {"digits": "09780306406157", "content": "https://id.gs1.org/01/09780306406157/10/ABC123?17=271231"},
     None),
    ("complete", dict(type="gs1-datamatrix", data="9780306406157", ai="(10)ABC123(17)271231"),
     {"digits": "09780306406157", "content": "010978030640615710ABC123\x1d17271231"}, None),
    # a companion carries the linear symbol's GTIN, on the brand's resolver
    ("complete", dict(data="401234567890", companion="qr", dl_domain="https://brand.example", ai="(21)S/1"),
     {"digits": "4012345678901", "content": "https://brand.example/01/04012345678901/21/S%2F1"}, None),
    # what a symbol does not carry is left out with a note, as on the command line
    ("complete", dict(data="401234567890", ai="(10)A1"),
     symbol("4012345678901", notes=["ai, dl-domain: EAN-13 carries them only in a 2D --companion; left out"]),
     None),
    ("complete", dict(type="gs1-datamatrix", data="9780306406157", dl_domain="https://brand.example"),
     {"content": "0109780306406157",
      "notes": ["dl-domain: a DataMatrix holds the element string, not a URI; left out"]}, None),
    ("render", dict(type="gs1-qr", data="9780306406157", format="svg", ecc="h", module=0.9, text=False),
     b"<?xml", None),
    ("render", dict(data="03600029145", type="upca", companion="datamatrix", companion_module=0.6,
                    format="pdf"), b"%PDF-", None),
    # GS1 data refused with the command line's message, naming the AI or the part
    ("render", dict(type="gs1-qr", data="9780306406157", ai="(17)271331"),
     (ValueError, "AI (17) expiry date 271331 (YYMMDD): month 13 does not exist"),
     ["--type", "gs1-qr", "--ai", "(17)271331", "9780306406157"]),
    ("render", dict(type="gs1-datamatrix", data="9780306406157", ai="(99)X"),
     (ValueError, "AI (99) is not one we accept (01, 10, 11, 15, 17, 21, 22, 3100-3105, 3920-3923)"),
     ["--type", "gs1-datamatrix", "--ai", "(99)X", "9780306406157"]),
    ("render", dict(type="gs1-qr", data="9780306406157", dl_domain="http://brand.example"),
     (ValueError, 'Digital Link domain: must start with https:// (got "http://brand.example")'),
     ["--type", "gs1-qr", "--dl-domain", "http://brand.example", "9780306406157"]),
    ("render", dict(data="401234567890", companion="qr", ai="(10)A B"),
     (ValueError, "companion: AI (10) batch or lot: a space is outside the GS1 character set 82 "
                  "(A-Z a-z 0-9 and !\"%&'()*+,-./:;<=>?_)"),
     ["--companion", "qr", "--ai", "(10)A B", "401234567890"]),
    ("render", dict(type="gs1-qr", data="97803064061"),
     (ValueError, "GTIN: 8, 12, 13 or 14 digits, the check digit last (or an ISBN, ISSN, ISMN); got 11 characters"),
     ["--type", "gs1-qr", "97803064061"]),
    ("render", dict(type="gs1-qr", data="9780306406157", ai="(10)\n"),
     (ValueError, "ai: holds a control character (a line break, tab or the like)"), None),
    ("render", dict(type="gs1-qr", data="9780306406157", ecc="X"), (ValueError, 'ecc: L, M, Q or H, not "X"'),
     None),
    ("render", dict(data="401234567890", companion="aztec"),
     (ValueError, 'companion: qr or datamatrix, not "aztec"'), None),
    ("render", dict(type="gs1-qr", data="9780306406157", companion="qr"),
     (ValueError, "a companion goes with a linear type (EAN, UPC, ISBN, ISSN, ISMN), not a 2D one"), None),
    ("render", dict(type="gs1-qr", data="9780306406157", module=0.3),
     (ValueError, "module: the 2D X dimension must be 0.396 to 0.990 mm (GS1 retail point of sale)"), None),
    ("render", dict(data="401234567890", companion="qr", companion_module=1.5),
     (ValueError, "--companion-module: the 2D X dimension must be 0.396 to 0.990 mm (GS1 retail point of sale)"),
     None),
]


def cli_message(args):
    """The last line strimlo-cli writes for a request it refuses, without its prefix."""
    with tempfile.TemporaryDirectory() as folder:
        run = subprocess.run([CLI, "-o", os.path.join(folder, "x"), *args[:-1], "--", args[-1]],
                             capture_output=True, text=True, check=False)
    assert run.returncode == 1, run
    return run.stderr.strip().splitlines()[-1].removeprefix("strimlo-cli: ")


class Calls(unittest.TestCase):
    def test_calls(self):
        for function, kwargs, expected, cli in CALLS:
            with self.subTest(function=function, **kwargs):
                call = getattr(strimlo, function)
                if isinstance(expected, tuple):
                    error, message = expected
                    with self.assertRaises(error) as caught:
                        call(**kwargs)
                    if message is not None:
                        self.assertEqual(str(caught.exception), message)
                    if cli and CLI:
                        self.assertEqual(cli_message(cli), message)
                elif isinstance(expected, bytes):
                    self.assertTrue(call(**kwargs).startswith(expected))
                else:
                    s = call(**kwargs)
                    self.assertEqual({k: getattr(s, k) for k in expected}, expected)
                    self.assertEqual(s.type, kwargs.get("type", "ean13"))

    def test_typed_and_documented(self):
        self.assertRegex(strimlo.__version__, r"^\d+\.\d+\.\d+$")
        package = os.path.dirname(strimlo.__file__)
        self.assertTrue(os.path.isfile(os.path.join(package, "py.typed")))
        with open(os.path.join(package, "__init__.pyi"), encoding="utf-8") as f:
            stub = ast.parse(f.read())
        public = {node.name for node in stub.body if isinstance(node, (ast.FunctionDef, ast.ClassDef))}
        self.assertEqual(public | {"__version__"}, set(strimlo.__all__))
        # The stub's parameters, their kinds and defaults are the module's, which pybind11
        # writes as the first line of each docstring.
        for node in stub.body:
            if isinstance(node, ast.FunctionDef):
                doc = getattr(strimlo, node.name).__doc__
                self.assertIn("ValueError", doc)
                runtime = ast.parse("def " + doc.lstrip().splitlines()[0] + ": ...").body[0]
                self.assertEqual(parameters(node), parameters(runtime), node.name)
            elif isinstance(node, ast.ClassDef):
                fields = {f.name for f in node.body if isinstance(f, ast.FunctionDef)}
                runtime = {n for n in dir(getattr(strimlo, node.name)) if not n.startswith("_")}
                self.assertEqual(fields, runtime, node.name)


def parameters(function):
    """A function's parameters: names and defaults, positional ones, then keyword-only."""
    a = function.args
    defaults = [None] * (len(a.args) - len(a.defaults)) + a.defaults
    value = lambda d: "required" if d is None else ast.literal_eval(d)
    return ([(p.arg, value(d)) for p, d in zip(a.args, defaults)],
            [(p.arg, value(d)) for p, d in zip(a.kwonlyargs, a.kw_defaults)])


def decode(path):
    """What zbarimg reads in an image, one 'TYPE:TEXT' a line, sorted."""
    run = subprocess.run(["zbarimg", "--nodbus", "--quiet", "-Sean5.enable", path],
                         capture_output=True, text=True, check=False)
    return sorted(run.stdout.split())


def zxing_decode(path):
    """What ZXingReader reads in an image, one 'FORMAT:TEXT' a line, sorted."""
    run = subprocess.run(["ZXingReader", "-noscale", "-1", path], capture_output=True, text=True,
                         check=False)
    found = []
    for line in run.stdout.splitlines():  # the path, the format, the text in quotes
        head, quote, text = line.partition(' "')
        if quote and text.endswith('"'):
            found.append(head.rsplit(" ", 1)[-1] + ":" + text[:-1])
    return sorted(found)


def to_png(data, kind, folder):
    """A greyscale PNG of a file, drawn at 300 dpi by a program other than ours."""
    source, png = os.path.join(folder, "in." + kind), os.path.join(folder, "out.png")
    with open(source, "wb") as f:
        f.write(data)
    commands = {
        "eps": ["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop", "-r300",
                "-sDEVICE=pnggray", "-sOutputFile=" + png, source],
        "pdf": ["pdftoppm", "-gray", "-png", "-singlefile", "-r", "300", source, png[:-4]],
        "svg": ["rsvg-convert", "-d", "300", "-p", "300", "-b", "white", "-o", png, source],
    }
    if kind in commands:
        subprocess.run(commands[kind], check=True, capture_output=True)
        return png
    if kind == "png":
        return source
    from PIL import Image  # TIFF and JPEG are CMYK: Pillow turns them grey
    Image.open(io.BytesIO(data)).convert("L").save(png)
    return png


class Files(unittest.TestCase):
    @unittest.skipUnless(all(shutil.which(t) for t in ("zbarimg", "gs", "pdftoppm", "rsvg-convert")),
                         "zbarimg, gs, pdftoppm or rsvg-convert missing")
    def test_every_format_decodes(self):
        for kind in ("eps", "png", "tiff", "jpeg", "pdf", "svg"):
            with self.subTest(format=kind), tempfile.TemporaryDirectory() as folder:
                data = strimlo.render(ISBN, type="isbn13", addon="51299", price="USD 12.99",
                                      format=kind, quiet_zones=True)
                self.assertEqual(decode(to_png(data, kind, folder)),
                                 ["EAN-13:9783161484100", "EAN-5:51299"])

    @unittest.skipUnless(all(shutil.which(t) for t in ("zbarimg", "pdftoppm", "rsvg-convert")),
                         "zbarimg, pdftoppm or rsvg-convert missing")
    @unittest.skipUnless(all(shutil.which(t) for t in ("zbarimg", "ZXingReader")),
                         "zbarimg or ZXingReader missing")
    def test_2d_types_and_companions_decode(self):
        uri = "https://id.gs1.org/01/09780306406157/10/ABC123?17=271231"
        cases = [  # the keywords, what ZXingReader reads, what zbarimg reads
            (dict(type="gs1-qr", ai="(10)ABC123(17)271231"), ["QRCode:" + uri], ["QR-Code:" + uri]),
            (dict(type="gs1-datamatrix", ai="(10)ABC123(21)XYZ"),
             ["DataMatrix:010978030640615710ABC123<GS>21XYZ"], []),
            (dict(type="isbn13", companion="qr", ai="(10)ABC123(17)271231"),
             ["EAN-13:9780306406157", "QRCode:" + uri], ["EAN-13:9780306406157", "QR-Code:" + uri]),
        ]
        for kwargs, zxing, zbar in cases:
            with self.subTest(**kwargs), tempfile.TemporaryDirectory() as folder:
                path = os.path.join(folder, "m.png")
                strimlo.save(path, "9780306406157", **kwargs)
                self.assertEqual(zxing_decode(path), zxing)
                self.assertEqual(decode(path), zbar)

    @unittest.skipUnless(all(shutil.which(t) for t in ("zbarimg", "pdftoppm", "rsvg-convert")),
                         "zbarimg, pdftoppm or rsvg-convert missing")
    def test_readme_example(self):
        example = os.path.join(os.path.dirname(__file__), "..", "..", "examples", "isbn.py")
        with tempfile.TemporaryDirectory() as folder:
            subprocess.run([sys.executable, os.path.abspath(example)], cwd=folder, check=True,
                           capture_output=True)
            for kind in ("pdf", "svg"):
                with open(os.path.join(folder, "cover." + kind), "rb") as f:
                    data = f.read()
                self.assertEqual(decode(to_png(data, kind, folder)),
                                 ["EAN-13:9783161484100", "EAN-5:51299"], kind)

    def test_save(self):
        with tempfile.TemporaryDirectory() as folder:
            # The extension chooses the format, as on the command line; EPS when it names none.
            for name, start in (("a.PNG", b"\x89PNG"), ("b.svg", b"<?xml"), ("c.label", b"%!PS")):
                path = os.path.join(folder, name)
                strimlo.save(path, "401234567890")
                with open(path, "rb") as f:
                    self.assertTrue(f.read().startswith(start), name)
            # The file holds what render() gives, and replaces what was there.
            path = os.path.join(folder, "cover.pdf")
            with open(path, "wb") as f:
                f.write(b"old")
            strimlo.save(path, ISBN, type="isbn13", addon="51299", format="svg")
            with open(path, "rb") as f:
                self.assertEqual(f.read(), strimlo.render(ISBN, type="isbn13", addon="51299", format="svg"))
            # Refused input changes nothing.
            with self.assertRaisesRegex(ValueError, "EAN-13 needs 12 or 13 digits"):
                strimlo.save(path, "12345")
            with open(path, "rb") as f:
                self.assertTrue(f.read().startswith(b"<?xml"))
            # A folder that is not there: the errno's subclass, the path, nothing left behind.
            missing = os.path.join(folder, "none", "x.eps")
            with self.assertRaises(FileNotFoundError) as caught:
                strimlo.save(missing, "401234567890")
            self.assertEqual(caught.exception.filename, missing)
            self.assertEqual(caught.exception.strerror, os.strerror(caught.exception.errno))
            # A folder at the name is not replaced.
            with self.assertRaises(OSError):
                strimlo.save(folder, "401234567890")
            self.assertTrue(os.path.isdir(folder))
            self.assertEqual(sorted(os.listdir(folder)), ["a.PNG", "b.svg", "c.label", "cover.pdf"])


class Threads(unittest.TestCase):
    def test_threads_render_what_one_thread_renders(self):
        # 10,000 distinct EAN-13 numbers, EPS and SVG in turn.
        requests = [(f"{400000000000 + 7919 * i:012d}", "eps" if i % 2 else "svg")
                    for i in range(10000)]
        strimlo.render(ISBN, type="isbn13", format="svg")  # the font is found once, not timed
        start = time.perf_counter()
        expected = [strimlo.render(data, format=kind) for data, kind in requests]
        one = time.perf_counter() - start

        results = [None] * len(requests)
        errors = []

        def work(first):
            try:
                for i in range(first, len(requests), 8):
                    data, kind = requests[i]
                    results[i] = strimlo.render(data, format=kind)
            except Exception as e:  # pylint: disable=broad-except
                errors.append(e)

        threads = [threading.Thread(target=work, args=(k,)) for k in range(8)]
        start = time.perf_counter()
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        eight = time.perf_counter() - start

        self.assertEqual(errors, [])
        self.assertEqual(len(set(expected)), len(requests))
        for i, (got, want) in enumerate(zip(results, expected)):
            if got != want:
                self.fail(f"{requests[i]}: 8 threads made another file than one thread")
        print(f"\n10000 symbols: 1 thread {one:.2f} s, 8 threads {eight:.2f} s "
              f"({one / eight:.2f}x on {os.cpu_count()} processors)")


if __name__ == "__main__":
    unittest.main(verbosity=2)
