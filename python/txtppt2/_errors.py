"""The exceptions a conversion raises, one class per kind of file.

A file the operating system will not hand over raises the OSError that
names why (FileNotFoundError, IsADirectoryError, PermissionError, ...),
with ``errno``, ``strerror`` and ``filename`` set. Every other file that
is not converted raises a ConversionError subclass:

- EncryptedPresentationError: encrypted, and no password or a wrong one;
- OldFormatError: PowerPoint 4.0 or older;
- UnsupportedFormatError: not a PowerPoint 97-2003 file (``format`` says
  what it is: "pptx", "doc", "xls", "pdf", "empty", "unknown", ...);
- DamagedPresentationError: a presentation whose structure is broken or
  cut short; ``text`` holds what could still be read.
"""
import errno as _errno
import os
from typing import Any, Optional


def describe_source(source: Any) -> str:
    """How a message names a source: its path, or what kind of object."""
    if isinstance(source, (str, bytes, os.PathLike)) and not (
            isinstance(source, bytes) and b"\0" in source):
        return os.fsdecode(source)
    name = getattr(source, "name", None)
    if isinstance(name, (str, bytes)):
        return os.fsdecode(name)
    return f"<{type(source).__name__} of a presentation>"

from ._txtppt2 import CONVERSION_FAILED, UNSUPPORTED_FORMAT


class ConversionError(Exception):
    """A file could not be converted.

    ``status`` is its status ("encrypted", "old_format", "other_format",
    "damaged"), ``format`` what it is ("ppt", "ppt95", "pptx", "doc", ...),
    ``error`` the problem in words and ``source`` what was given. ``code``
    and ``message`` are the library's error code and message for the file
    (its exports' answer; 0 and "" where they read it): code 1 ("Error in
    parameters") is a path longer than the library takes (1023 UTF-16
    units). str() names the file and the problem.
    """

    def __init__(self, code: int, message: str, source: Any = None,
                 status: str = "", format: str = "", error: str = "") -> None:
        super().__init__(code, message, source, status, format, error)
        self.code = code
        self.message = message
        self.source = source
        self.status = status
        self.format = format
        self.error = error or message

    def __str__(self) -> str:
        return f"{describe_source(self.source)}: {self.error}"


class EncryptedPresentationError(ConversionError):
    """An encrypted presentation, given no password or a wrong one (error
    "wrong password"): pass password= to read it."""


class OldFormatError(ConversionError):
    """A PowerPoint 4.0 or older presentation, which txtppt2 cannot read."""


class StorageError(ConversionError):
    """The file is not a presentation's compound file, or a broken one.

    Kept for callers of earlier versions, which raised it for the library's
    code 4: it is the base of UnsupportedFormatError and
    DamagedPresentationError.
    """


class UnsupportedFormatError(StorageError):
    """Not a PowerPoint 97-2003 presentation; ``format`` says what it is."""


class DamagedPresentationError(StorageError):
    """A presentation whose structure is broken or cut short. ``text`` is
    what could still be read ("" when nothing could)."""

    def __init__(self, code: int, message: str, source: Any = None,
                 status: str = "", format: str = "", error: str = "",
                 text: str = "") -> None:
        super().__init__(code, message, source, status, format, error)
        self.args = (code, message, source, status, format, error, text)
        self.text = text


_ERROR_CLASSES = {
    "encrypted": EncryptedPresentationError,
    "old_format": OldFormatError,
    "other_format": UnsupportedFormatError,
    "damaged": DamagedPresentationError,
}


def error_for(status: str, format: str, error: str, os_error: int, code: int,
              message: str, source: Any,
              text: Optional[str] = None) -> Exception:
    """The exception that stands for a file's verdict."""
    if status == "unreadable":
        return OSError(os_error or _errno.EIO, error, describe_source(source))
    if status == "encrypted" and error == "encrypted presentation":
        error = "encrypted presentation (give its password with password=)"
    cls = _ERROR_CLASSES.get(status, ConversionError)
    if cls is DamagedPresentationError:
        return cls(code, message, source, status, format, error, text or "")
    return cls(code, message, source, status, format, error)
