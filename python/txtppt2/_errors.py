"""The exceptions a conversion raises, one class per kind of failure."""
from typing import Any

from ._txtppt2 import CONVERSION_FAILED, UNSUPPORTED_FORMAT


class ConversionError(Exception):
    """A file could not be converted.

    ``code`` is the library's error code, ``message`` its message and
    ``source`` what was given to convert. Code 1 ("Error in parameters")
    is a path longer than the library takes (1023 UTF-16 units).
    """

    def __init__(self, code: int, message: str, source: Any = None) -> None:
        super().__init__(code, message, source)
        self.code = code
        self.message = message
        self.source = source

    def __str__(self) -> str:
        return f"{self.message} (code {self.code})"


class UnsupportedFormatError(ConversionError):
    """The file is a compound file without a "PowerPoint Document" stream
    (a Word or Excel file, say): code 1003."""


class StorageError(ConversionError):
    """The file could not be opened or read as a compound file: code 4."""


_ERROR_CLASSES = {UNSUPPORTED_FORMAT: UnsupportedFormatError,
                  CONVERSION_FAILED: StorageError}


def error_for(code: int, message: str, source: Any) -> ConversionError:
    """The exception that stands for the library's code and message."""
    return _ERROR_CLASSES.get(code, ConversionError)(code, message, source)
