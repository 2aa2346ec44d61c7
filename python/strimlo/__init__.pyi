# Types of the strimlo package; the docstrings are in the module (help(strimlo.render)).
import os
from typing import Literal, Optional, Union

__version__: str

_CodeType = Literal["ean8", "ean13", "isbn10", "isbn13", "upca", "upce", "issn", "ismn",
                    "gs1-qr", "gs1-datamatrix"]
_FileFormat = Literal["eps", "png", "tiff", "tif", "jpeg", "jpg", "pdf", "svg"]
_Font = Literal["sans", "ocrb"]
_Ecc = Literal["L", "M", "Q", "H", "l", "m", "q", "h"]
_Companion = Literal["", "qr", "datamatrix"]
_Path = Union[str, bytes, os.PathLike[str], os.PathLike[bytes]]

class Symbol:
    """A completed symbol, as strimlo.complete() gives it."""
    @property
    def type(self) -> str: ...
    @property
    def digits(self) -> str: ...
    @property
    def line(self) -> str: ...
    @property
    def addon(self) -> str: ...
    @property
    def price(self) -> str: ...
    @property
    def content(self) -> str: ...
    @property
    def notes(self) -> list[str]: ...

def render(
    data: str,
    *,
    type: _CodeType = "ean13",
    addon: str = "",
    price: str = "",
    variant: str = "",
    strict: bool = False,
    format: _FileFormat = "eps",
    size: int = 2,
    res: int = 2,
    quiet_zones: bool = False,
    bar_reduction: int = 0,
    transparent: bool = False,
    font: _Font = "sans",
    outline_text: bool = False,
    magnification: Optional[float] = None,
    module: Optional[float] = None,
    dpi: Optional[int] = None,
    snap: bool = True,
    snap_dpi: Optional[int] = None,
    height: Optional[float] = None,
    price_code: str = "",
    ranges: str = "",
    ai: str = "",
    dl_domain: str = "",
    ecc: _Ecc = "M",
    companion: _Companion = "",
    companion_module: Optional[float] = None,
    text: bool = True,
) -> bytes:
    """The whole file of one symbol, in memory. Raises ValueError for bad input."""

def save(
    path: _Path,
    data: str,
    *,
    type: _CodeType = "ean13",
    addon: str = "",
    price: str = "",
    variant: str = "",
    strict: bool = False,
    format: Optional[_FileFormat] = None,
    size: int = 2,
    res: int = 2,
    quiet_zones: bool = False,
    bar_reduction: int = 0,
    transparent: bool = False,
    font: _Font = "sans",
    outline_text: bool = False,
    magnification: Optional[float] = None,
    module: Optional[float] = None,
    dpi: Optional[int] = None,
    snap: bool = True,
    snap_dpi: Optional[int] = None,
    height: Optional[float] = None,
    price_code: str = "",
    ranges: str = "",
    ai: str = "",
    dl_domain: str = "",
    ecc: _Ecc = "M",
    companion: _Companion = "",
    companion_module: Optional[float] = None,
    text: bool = True,
) -> None:
    """Renders and replaces the file at path atomically. Raises ValueError, OSError."""

def complete(
    data: str,
    *,
    type: _CodeType = "ean13",
    addon: str = "",
    price: str = "",
    variant: str = "",
    strict: bool = False,
    price_code: str = "",
    ranges: str = "",
    ai: str = "",
    dl_domain: str = "",
    ecc: _Ecc = "M",
    companion: _Companion = "",
    companion_module: Optional[float] = None,
) -> Symbol:
    """The completed symbol of the texts, without drawing it. Raises ValueError."""
