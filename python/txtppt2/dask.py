"""Text from collections of presentations on Dask.

``extract_bag`` lists the files with fsspec (a local glob, a list of paths,
or any URL fsspec knows: ``s3://``, ``gcs://``, ``hdfs://``, ...) and gives
a ``dask.bag.Bag`` of one record per file::

    {"path": str, "text": str | None, "error": str | None, "code": int,
     "properties": dict | None}

(``properties`` as ``Presentation.to_dict()`` gives them), or, with
``records="slides"``, of one record per slide::

    {"path": str, "number": int | None, "title": str | None,
     "text": str | None, "notes": str | None, "hidden": bool | None,
     "error": str | None, "code": int}

where a file that fails gives one record with its error and code, and
None for the slide's fields (a file without slides gives no record).

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
from typing import Any, Dict, List, Optional, Sequence, Union

import dask.bag
import fsspec
from fsspec.implementations.local import LocalFileSystem

from ._errors import ConversionError
from ._txtppt2 import CONVERSION_FAILED
from . import extract_presentation, extract_text

Record = Dict[str, Any]

# Code of a file the file system could not hand over: that of a file the
# library could not read.
_READ_ERROR_CODE = CONVERSION_FAILED


_RECORD_KINDS = ("files", "slides")
_SLIDE_FIELDS = ("number", "title", "text", "notes", "hidden")


def _source(fs: fsspec.AbstractFileSystem, path: str) -> Any:
    if isinstance(fs, LocalFileSystem):
        # The library reads a local file itself: only the sectors that hold
        # the text, rather than the whole file with its pictures.
        return path
    # A memoryview is always read as the file's bytes, never as a path.
    return memoryview(fs.cat_file(path))


def _failure(error: Exception) -> Record:
    if isinstance(error, ConversionError):
        return {"error": error.message, "code": error.code}
    # Whatever the file system raised.
    return {"error": str(error) or type(error).__name__,
            "code": _READ_ERROR_CODE}


def _file_record(source: Any, complete: bool) -> Record:
    text = extract_text(source, complete)
    try:
        properties = extract_presentation(source).properties.to_dict()
    except ConversionError:
        properties = None
    return {"text": text, "error": None, "code": 0, "properties": properties}


def _slide_records(source: Any) -> List[Record]:
    return [{"number": slide.number, "title": slide.title,
             "text": slide.text, "notes": slide.notes,
             "hidden": slide.hidden, "error": None, "code": 0}
            for slide in extract_presentation(source).slides]


def _file_records(fs: fsspec.AbstractFileSystem, path: str, complete: bool,
                  records: str) -> List[Record]:
    # Local files keep their plain path; others their URL, protocol included.
    name = path if isinstance(fs, LocalFileSystem) else fs.unstrip_protocol(path)
    try:
        source = _source(fs, path)
        if records == "slides":
            return [{"path": name, **record}
                    for record in _slide_records(source)]
        return [{"path": name, **_file_record(source, complete)}]
    except Exception as error:  # a ConversionError or the file system's
        if records == "slides":
            return [{"path": name, **dict.fromkeys(_SLIDE_FIELDS),
                     **_failure(error)}]
        return [{"path": name, "text": None, **_failure(error),
                 "properties": None}]


def _records(paths: List[str], fs: fsspec.AbstractFileSystem,
             complete: bool, records: str) -> List[Record]:
    return [record for path in paths
            for record in _file_records(fs, path, complete, records)]


def extract_bag(urlpaths: Union[str, Sequence[str]],
                files_per_partition: int = 64,
                storage_options: Optional[Dict[str, Any]] = None,
                complete: bool = False,
                records: str = "files") -> dask.bag.Bag:
    """A bag of the records of the files urlpaths names: one per file
    (records="files") or one per slide (records="slides").

    urlpaths is a path, glob or URL, or a list of them, all on one file
    system; storage_options go to that file system (credentials, endpoint,
    ...). Files are listed now and converted when the bag is computed, in
    partitions of files_per_partition files, in the order listed; with
    complete=True each file's record holds the complete text (a slide's
    record always holds the slide's whole text). Raises FileNotFoundError
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
    return bag.map_partitions(_records, fs, complete, records)
