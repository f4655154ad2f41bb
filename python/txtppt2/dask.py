"""Text from collections of presentations on Dask.

``extract_bag`` lists the files with fsspec (a local glob, a list of paths,
or any URL fsspec knows: ``s3://``, ``gcs://``, ``hdfs://``, ...) and gives
a ``dask.bag.Bag`` of one record per file::

    {"path": str, "status": str, "format": str | None, "text": str | None,
     "error": str | None, "errno": str | None, "code": int,
     "properties": dict | None}

(``properties`` as ``Presentation.to_dict()`` gives them), or, with
``records="slides"``, of one record per slide::

    {"path": str, "status": str, "format": str | None,
     "number": int | None, "title": str | None, "text": str | None,
     "notes": str | None, "hidden": bool | None, "error": str | None,
     "errno": str | None, "code": int}

where a file that fails gives one record with its error and code, and
None for the slide's fields (a file without slides gives no record).

``status`` is the file's status ("ok", "encrypted", "old_format",
"other_format", "damaged", "unreadable") and ``format`` what it is ("ppt",
"ppt95", "pptx", "doc", ...; None when it could not be read). A damaged
file's record holds what could still be read. ``errno`` names the system's
error ("ENOENT") of an unreadable file. ``password=`` reads encrypted
presentations.

Each worker reads its files' bytes through fsspec and converts them from
memory; local files (and so files on a shared file system) it converts from
their path, which reads only the part of the file that holds the text. A
file that cannot be read or converted gives a record with its error message
and code (the library's code; 4 when the file could not be read) and no
text, never a failed task. ``code`` is 0 for a converted file.

The bag runs on Dask's default scheduler or on a ``distributed.Client``.
Workers import txtppt2 themselves: install it on every machine, or put the
build's python folder on their PYTHONPATH.
"""
import errno
from typing import Any, Dict, List, Optional, Sequence, Union

import dask.bag
import fsspec
from fsspec.implementations.local import LocalFileSystem

from ._errors import ConversionError
from ._txtppt2 import CONVERSION_FAILED
from . import _presentation, _text_and_format

Record = Dict[str, Any]

# Code of a file the file system could not hand over: that of a file the
# library could not read.
_READ_ERROR_CODE = CONVERSION_FAILED


# What a file system that raises an OSError without errno meant.
_ERRNO_BY_CLASS = {FileNotFoundError: errno.ENOENT,
                   IsADirectoryError: errno.EISDIR,
                   PermissionError: errno.EACCES}

_RECORD_KINDS = ("files", "slides")
_SLIDE_FIELDS = ("number", "title", "text", "notes", "hidden")


def _errno_name(error: OSError) -> Optional[str]:
    number = error.errno or _ERRNO_BY_CLASS.get(type(error))
    return errno.errorcode.get(number) if number else None


def _source(fs: fsspec.AbstractFileSystem, path: str) -> Any:
    if isinstance(fs, LocalFileSystem):
        # The library reads a local file itself: only the sectors that hold
        # its header, directory and text, not its pictures.
        return path
    # A memoryview is always read as the file's bytes, never as a path.
    return memoryview(fs.cat_file(path))


def _failure(error: Exception) -> Record:
    if isinstance(error, ConversionError):
        return {"status": error.status, "format": error.format or None,
                "error": error.error, "errno": None,
                "code": error.code or _READ_ERROR_CODE}
    if isinstance(error, OSError):  # the file system refused it
        return {"status": "unreadable", "format": None,
                "error": error.strerror or str(error),
                "errno": _errno_name(error), "code": _READ_ERROR_CODE}
    # Whatever else the file system raised.
    return {"status": "unreadable", "format": None,
            "error": str(error) or type(error).__name__, "errno": None,
            "code": _READ_ERROR_CODE}


def _file_record(source: Any, complete: bool,
                 password: Optional[str]) -> Record:
    text, format = _text_and_format(source, complete, password)
    try:
        properties = _presentation.extract(
            source, password).properties.to_dict()
    except ConversionError:
        properties = None
    return {"status": "ok", "format": format, "text": text, "error": None,
            "errno": None, "code": 0, "properties": properties}


def _slide_records(source: Any, password: Optional[str]) -> List[Record]:
    deck, format = _presentation.extract_with_format(source, password)
    return [{"status": "ok", "format": format,
             "number": slide.number, "title": slide.title,
             "text": slide.text, "notes": slide.notes,
             "hidden": slide.hidden, "error": None, "errno": None, "code": 0}
            for slide in deck.slides]


def _file_records(fs: fsspec.AbstractFileSystem, path: str, complete: bool,
                  records: str, password: Optional[str]) -> List[Record]:
    # Local files keep their plain path; others their URL, protocol included.
    name = path if isinstance(fs, LocalFileSystem) else fs.unstrip_protocol(path)
    try:
        source = _source(fs, path)
        if records == "slides":
            return [{"path": name, **record}
                    for record in _slide_records(source, password)]
        return [{"path": name, **_file_record(source, complete, password)}]
    except Exception as error:  # a ConversionError or the file system's
        failure = _failure(error)
        salvaged = getattr(error, "text", None) or None
        if records == "slides":
            return [{"path": name, "status": failure.pop("status"),
                     "format": failure.pop("format"),
                     **dict.fromkeys(_SLIDE_FIELDS), **failure}]
        return [{"path": name, "status": failure.pop("status"),
                 "format": failure.pop("format"), "text": salvaged,
                 **failure, "properties": None}]


def _records(paths: List[str], fs: fsspec.AbstractFileSystem,
             complete: bool, records: str,
             password: Optional[str]) -> List[Record]:
    return [record for path in paths
            for record in _file_records(fs, path, complete, records,
                                        password)]


def extract_bag(urlpaths: Union[str, Sequence[str]],
                files_per_partition: int = 64,
                storage_options: Optional[Dict[str, Any]] = None,
                complete: bool = False,
                records: str = "files",
                password: Optional[str] = None) -> dask.bag.Bag:
    """A bag of the records of the files urlpaths names: one per file
    (records="files") or one per slide (records="slides").

    urlpaths is a path, glob or URL, or a list of them, all on one file
    system; storage_options go to that file system (credentials, endpoint,
    ...). Files are listed now and converted when the bag is computed, in
    partitions of files_per_partition files, in the order listed; with
    complete=True each file's record holds the complete text (a slide's
    record always holds the slide's whole text); password= is the password
    of encrypted presentations. Raises FileNotFoundError
    when nothing matches, ValueError for another kind of records.
    """
    if records not in _RECORD_KINDS:
        raise ValueError(
            f"records must be 'files' or 'slides', not {records!r}")
    if not isinstance(files_per_partition, int) or files_per_partition < 1:
        raise ValueError("files_per_partition must be a positive int, not "
                         f"{files_per_partition!r}")
    fs, _, paths = fsspec.get_fs_token_paths(
        urlpaths, mode="rb", storage_options=storage_options)
    if not paths:
        raise FileNotFoundError(f"no file matches {urlpaths!r}")
    bag = dask.bag.from_sequence(paths, partition_size=files_per_partition)
    if password is not None and not isinstance(password, str):
        raise TypeError(
            f"password must be a str or None, not {type(password).__name__}")
    return bag.map_partitions(_records, fs, complete, records, password)
