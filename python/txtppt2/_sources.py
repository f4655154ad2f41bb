"""How a source given to the module reaches the converter.

A path (``str``, ``os.PathLike``, or ``bytes`` without a NUL byte) is
encoded the way ``os`` encodes file names (UTF-8, with undecodable bytes
carried through by the surrogate escapes) and opened by the library. A
bytes-like object (``bytes`` holding a NUL byte, ``bytearray``,
``memoryview``, ``mmap``, ...) is converted in place, without a copy. A
binary file object is read to its end and converted from memory.

``bytes`` is both a path type and a bytes-like type: no path holds a NUL
byte and every presentation does, so the NUL byte decides.
"""
import io
import os
from typing import Any, Callable, TypeVar

from . import _txtppt2

T = TypeVar("T")


def _path_bytes(path: Any) -> bytes:
    encoded = os.fsencode(path)  # UnicodeEncodeError is a ValueError
    if b"\0" in encoded:
        raise ValueError(f"embedded null byte in path {path!r}")
    return encoded


def _buffer(source: Any) -> Any:
    """source's bytes as a contiguous buffer, or None if it has none."""
    try:
        view = memoryview(source)
    except TypeError:
        return None
    return view if view.contiguous else view.tobytes()


def dispatch(source: Any, on_path: Callable[[bytes], T],
             on_buffer: Callable[[Any], T]) -> T:
    """Calls on_path with source's encoded path or on_buffer with its bytes.

    Raises TypeError for a source of no known kind and ValueError for a
    path that cannot be encoded.
    """
    if isinstance(source, bytes) and b"\0" in source:
        return on_buffer(source)
    if isinstance(source, (str, bytes, os.PathLike)):
        return on_path(_path_bytes(source))
    buffer = _buffer(source)
    if buffer is not None:
        return on_buffer(buffer)
    if isinstance(source, io.TextIOBase):
        raise TypeError("a file object must be opened in binary mode")
    read = getattr(source, "read", None)
    if callable(read):
        data = read()
        if not isinstance(data, (bytes, bytearray)):
            raise TypeError("a file object must be opened in binary mode")
        return on_buffer(data)
    raise TypeError("expected a path, a bytes-like object or a binary file "
                    f"object, not {type(source).__name__}")


def convert(source: Any, unicode: bool,
            complete: bool) -> "tuple[bytes | None, int, bytes]":
    """The extension's (text, code, message) for source."""
    return dispatch(
        source,
        lambda path: _txtppt2.convert_path(path, unicode, complete),
        lambda buffer: _txtppt2.convert_buffer(buffer, unicode, complete))


def extract(source: Any, unicode: bool, complete: bool,
            password: "str | None") -> tuple:
    """The extension's (text, status, format, error, errno, code, message)
    for source."""
    return dispatch(
        source,
        lambda path: _txtppt2.extract_path(path, unicode, complete, password),
        lambda buffer: _txtppt2.extract_buffer(buffer, unicode, complete,
                                               password))


def probe(source: Any) -> bool:
    return dispatch(source, _txtppt2.probe_path, _txtppt2.probe_buffer)
