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

A file that cannot be converted raises ``ConversionError`` (or its
subclasses ``UnsupportedFormatError`` and ``StorageError``), with the
library's error code and message. A source of the wrong type raises
TypeError, a path that cannot be encoded ValueError.
"""
import codecs
import collections
import concurrent.futures
import mmap
import os
from typing import IO, Iterable, Iterator, Optional, Tuple, Union

from . import _presentation, _sources
from ._errors import ConversionError, StorageError, UnsupportedFormatError
from ._errors import error_for
from ._presentation import (Comment, HeaderText, Link, Presentation,
                            Properties, Slide)
from ._txtppt2 import __version__

__all__ = ["extract_text", "extract_bytes", "is_supported", "extract_many",
           "extract_presentation", "Presentation", "Properties", "Slide",
           "Link", "Comment", "HeaderText", "ConversionError", "UnsupportedFormatError", "StorageError",
           "Source", "__version__"]

Source = Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]",
               bytearray, memoryview, mmap.mmap, IO[bytes]]

# The result encodings by codec name: whether the Unicode calls make them.
_UNICODE_BY_CODEC = {"utf-16-le": True, "cp1252": False}


def _convert(source: Source, unicode: bool, complete: bool) -> bytes:
    """The one way to the converter: the result bytes, or the error."""
    if not isinstance(complete, bool):
        raise TypeError(
            f"complete must be a bool, not {type(complete).__name__}")
    text, code, message = _sources.convert(source, unicode, complete)
    if text is None:
        raise error_for(code, message.decode("utf-8", "replace"), source)
    return text


def extract_bytes(source: Source, encoding: str = "utf-16le",
                  complete: bool = False) -> bytes:
    """Returns the library's own result bytes for source.

    encoding "utf-16le" gives the Unicode calls' text (UTF-16LE, no
    byte-order mark, a lone surrogate kept as it is); "cp1252" the pure-text
    calls' text (Windows-1252, where a character it lacks becomes its best
    fit or a space). Other names of these two codecs are accepted too.
    complete=True gives the complete text instead of the exports' text.
    Raises ConversionError when the file cannot be converted and ValueError
    for any other encoding.
    """
    try:
        codec = codecs.lookup(encoding).name
    except LookupError:
        codec = None
    if codec not in _UNICODE_BY_CODEC:
        raise ValueError(
            f"encoding must be 'utf-16le' or 'cp1252', not {encoding!r}")
    return _convert(source, _UNICODE_BY_CODEC[codec], complete)


def extract_text(source: Source, complete: bool = False) -> str:
    """Returns the text of source as a string.

    It is the library's Unicode text; a lone UTF-16 surrogate in it becomes
    U+FFFD, as in the txtppt2 command's UTF-8. complete=True gives the
    complete text instead of the exports' text. Raises ConversionError when
    the file cannot be converted.
    """
    return _convert(source, True, complete).decode("utf-16-le", "replace")


def extract_presentation(source: Source) -> Presentation:
    """Returns source as a deck: its properties, its slides (title, text,
    notes, links, comments, headers) and its masters' text.

    The slides are those of the last save in presentation order, each
    with its notes page, as the txtppt2 command's ``--format json`` gives
    them; ``Presentation.to_dict()`` is that record's "properties",
    "slides" and "masters", ``Presentation.to_markdown()`` the command's
    ``--format markdown``. The interpreter lock is released while the file
    is read. Raises ConversionError when the file cannot be read as a
    presentation.
    """
    return _presentation.extract(source)


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


def _text_or_error(source: Source,
                   complete: bool) -> Union[str, ConversionError]:
    try:
        return extract_text(source, complete)
    except ConversionError as error:
        return error


def _extract_on_threads(
    sources: Iterator[Source], jobs: int, complete: bool
) -> Iterator[Tuple[Source, Union[str, ConversionError]]]:
    # At most two files per thread wait ahead of the one handed out, so
    # that an endless iterable of sources is converted in constant memory.
    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        waiting: collections.deque = collections.deque()
        try:
            for source in sources:
                waiting.append((source, pool.submit(_text_or_error, source, complete)))
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
    complete: bool = False
) -> Iterator[Tuple[Source, Union[str, ConversionError]]]:
    """Converts sources on jobs threads (default: one per core).

    Yields (source, result) in the order of sources, result being the text
    (as extract_text gives it, complete or not) or the ConversionError the
    file raised. A
    source of the wrong type raises its TypeError or ValueError when its
    turn comes.
    """
    if jobs is None:
        jobs = _usable_cores()
    elif not isinstance(jobs, int) or isinstance(jobs, bool):
        raise TypeError(f"jobs must be an int, not {type(jobs).__name__}")
    elif jobs < 1:
        raise ValueError(f"jobs must be at least 1, not {jobs}")
    return _extract_on_threads(iter(sources), jobs, complete)
