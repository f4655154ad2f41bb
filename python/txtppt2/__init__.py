"""Plain text from PowerPoint 97-2003 presentations (.ppt).

    >>> import txtppt2
    >>> text = txtppt2.extract_text("examples/sample.ppt")

A *source* is any of:

- a path: ``str``, ``os.PathLike``, or ``bytes`` holding no NUL byte; it is
  encoded as ``os`` encodes file names (UTF-8 here; undecodable bytes in a
  name come through the surrogate escapes unchanged);
- a bytes-like object holding the file: ``bytes`` (a presentation always
  holds a NUL byte, a path never does), ``bytearray``, ``memoryview``,
  ``mmap``; it is read in place, without a copy, and must not change while
  it converts;
- a binary file object, read to its end.

The text is that of the slides in the order the file stores it, each piece
ended by CR LF, with a line of thirty hyphens before each slide after the
first: the text of the library's exports. ``complete=True`` gives instead
every slide's text and its notes, once each, in slide order, in the same
shape (the txtppt2 command's ``--complete``). The interpreter lock is released while a file converts, so threads
convert in parallel (see ``extract_many``); ``txtppt2.dask`` spreads a
collection over a Dask cluster.

``extract_presentation(source)`` gives the deck as data instead: a
``Presentation`` of frozen dataclasses, with each slide's title, text,
notes, links and comments, and the document's properties.

Every call takes ``password=``, the password of an encrypted presentation
(RC4 CryptoAPI, the encryption PowerPoint 97-2003 offers), which is then
decrypted in memory and read like any other; without it (or with a wrong
one) such a file raises EncryptedPresentationError. A PowerPoint 95 file
gives the plain text it keeps.

A file that is not converted raises, by what it is (see ``_errors``):
FileNotFoundError, IsADirectoryError, PermissionError (or another OSError)
when the system will not hand it over; else a ``ConversionError``:
``EncryptedPresentationError``, ``OldFormatError``,
``UnsupportedFormatError`` or ``DamagedPresentationError`` (whose ``text``
is what could still be read), each with ``status``, ``format`` and
``source``; ``str(error)`` names the file. A source of the wrong type
raises TypeError, a path that cannot be encoded ValueError.
"""
import codecs
import collections
import concurrent.futures
import mmap
import os
from typing import IO, Iterable, Iterator, Optional, Tuple, Union

from . import _presentation, _sources
from ._errors import (ConversionError, DamagedPresentationError,
                      EncryptedPresentationError, OldFormatError,
                      StorageError, UnsupportedFormatError, error_for)
from ._presentation import (Comment, HeaderText, Link, Presentation,
                            Properties, Slide)
from ._txtppt2 import __version__

__all__ = ["extract_text", "extract_bytes", "is_supported", "extract_many",
           "extract_presentation", "Presentation", "Properties", "Slide",
           "Link", "Comment", "HeaderText", "ConversionError",
           "EncryptedPresentationError", "OldFormatError",
           "UnsupportedFormatError", "DamagedPresentationError",
           "StorageError",
           "Source", "__version__"]

Source = Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]",
               bytearray, memoryview, mmap.mmap, IO[bytes]]

# The result encodings by codec name: whether the Unicode calls make them.
_UNICODE_BY_CODEC = {"utf-16-le": True, "cp1252": False}


def _check_password(password: Optional[str]) -> None:
    if password is not None and not isinstance(password, str):
        raise TypeError(
            f"password must be a str or None, not {type(password).__name__}")


def _convert_with_format(source: Source, unicode: bool, complete: bool,
                         password: Optional[str] = None) -> Tuple[bytes, str]:
    """The one way to the converter: the result bytes and the file's format
    ("ppt", "ppt95"), or the error."""
    if not isinstance(complete, bool):
        raise TypeError(
            f"complete must be a bool, not {type(complete).__name__}")
    _check_password(password)
    text, status, format, error, os_error, code, message = _sources.extract(
        source, unicode, complete, password)
    if status == "ok":
        return text, format
    salvaged = None
    if status == "damaged" and text is not None:
        salvaged = text.decode("utf-16-le" if unicode else "cp1252",
                               "replace")
    raise error_for(status, format, error, os_error, code,
                    message.decode("utf-8", "replace"), source, salvaged)


def _convert(source: Source, unicode: bool, complete: bool,
             password: Optional[str] = None) -> bytes:
    return _convert_with_format(source, unicode, complete, password)[0]


def _text_and_format(source: Source, complete: bool,
                     password: Optional[str]) -> Tuple[str, str]:
    """extract_text's text, with the file's format (for Dask's records)."""
    text, format = _convert_with_format(source, True, complete, password)
    return text.decode("utf-16-le", "replace"), format


def extract_bytes(source: Source, encoding: str = "utf-16le",
                  complete: bool = False,
                  password: Optional[str] = None) -> bytes:
    """Returns the library's own result bytes for source.

    encoding "utf-16le" gives the Unicode calls' text (UTF-16LE, no
    byte-order mark, a lone surrogate kept as it is); "cp1252" the pure-text
    calls' text (Windows-1252, where a character it lacks becomes its best
    fit or a space). Other names of these two codecs are accepted too.
    complete=True gives the complete text instead of the exports' text.
    Raises ConversionError (or OSError) when the file cannot be converted,
    ValueError for any other encoding and TypeError for one not a str.
    """
    if not isinstance(encoding, str):
        raise TypeError(
            f"encoding must be a str, not {type(encoding).__name__}")
    try:
        codec = codecs.lookup(encoding).name
    except LookupError:
        codec = None
    if codec not in _UNICODE_BY_CODEC:
        raise ValueError(
            f"encoding must be 'utf-16le' or 'cp1252', not {encoding!r}")
    return _convert(source, _UNICODE_BY_CODEC[codec], complete, password)


def extract_text(source: Source, complete: bool = False,
                 password: Optional[str] = None) -> str:
    """Returns the text of source as a string.

    It is the library's Unicode text; a lone UTF-16 surrogate in it becomes
    U+FFFD, as in the txtppt2 command's UTF-8. complete=True gives the
    complete text instead of the exports' text. Raises ConversionError (or
    OSError) when the file cannot be converted.
    """
    return _convert(source, True, complete, password).decode("utf-16-le",
                                                             "replace")


def extract_presentation(source: Source,
                         password: Optional[str] = None) -> Presentation:
    """Returns source as a deck: its properties, its slides (title, text,
    notes, links, comments, headers, tables) and its masters' text.

    The slides are those of the last save in presentation order, each
    with its notes page, as the txtppt2 command's ``--format json`` gives
    them; ``Presentation.to_dict()`` is that record's "properties",
    "slides" and "masters", ``Presentation.to_markdown()`` the command's
    ``--format markdown``. The interpreter lock is released while the file
    is read. password= reads an encrypted presentation; a PowerPoint 95
    file gives its text as one slide, and its properties (one saved for
    PowerPoint 97 as well gives the 97 deck's slides). Raises what
    extract_text raises when the file cannot be read as a presentation.
    """
    _check_password(password)
    return _presentation.extract(source, password)


def is_supported(source: Source) -> bool:
    """Whether source opens as a presentation txtppt2 can convert.

    Only the file's structure is looked at, not its text. A file object is
    read to its end.
    """
    return _sources.probe(source)


def _usable_cores() -> int:
    # The cores this process may run on, which a container or taskset can
    # make fewer than the machine's.
    if hasattr(os, "sched_getaffinity"):
        return len(os.sched_getaffinity(0))
    return os.cpu_count() or 1


def _text_or_error(source: Source, complete: bool,
                   password: Optional[str]) -> Union[str, Exception]:
    try:
        return extract_text(source, complete, password)
    except (ConversionError, OSError) as error:
        return error


def _extract_on_threads(
    sources: Iterator[Source], jobs: int, complete: bool,
    password: Optional[str]
) -> Iterator[Tuple[Source, Union[str, Exception]]]:
    # At most two files per thread wait ahead of the one handed out, so
    # that an endless iterable of sources is converted in constant memory.
    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        waiting: collections.deque = collections.deque()
        try:
            for source in sources:
                waiting.append((source, pool.submit(_text_or_error, source, complete,
                                                  password)))
                if len(waiting) > 2 * jobs:
                    ahead, future = waiting.popleft()
                    yield ahead, future.result()
            while waiting:
                ahead, future = waiting.popleft()
                yield ahead, future.result()
        finally:
            for _, future in waiting:
                future.cancel()


def extract_many(
    sources: Iterable[Source], jobs: Optional[int] = None,
    complete: bool = False, password: Optional[str] = None
) -> Iterator[Tuple[Source, Union[str, Exception]]]:
    """Converts sources on jobs threads (default: one per core).

    Yields (source, result) in the order of sources, result being the text
    (as extract_text gives it, complete or not) or the ConversionError or
    OSError the file raised. sources is an iterable of sources: a single
    str, bytes or path is a TypeError. A source of the wrong type raises its
    TypeError or ValueError when its turn comes.
    """
    if isinstance(sources, (str, bytes, bytearray, memoryview, os.PathLike)):
        raise TypeError("sources must be an iterable of sources, not a "
                        f"single {type(sources).__name__}; "
                        "wrap one source in a list")
    _check_password(password)
    if jobs is None:
        jobs = _usable_cores()
    elif not isinstance(jobs, int) or isinstance(jobs, bool):
        raise TypeError(f"jobs must be an int, not {type(jobs).__name__}")
    elif jobs < 1:
        raise ValueError(f"jobs must be at least 1, not {jobs}")
    return _extract_on_threads(iter(sources), jobs, complete, password)
