"""Text from collections of presentations on Dask.

``extract_bag`` lists the files with fsspec (a local glob, a list of paths,
or any URL fsspec knows: ``s3://``, ``gcs://``, ``hdfs://``, ...) and gives
a ``dask.bag.Bag`` of one record per file::

    {"path": str, "text": str | None, "error": str | None, "code": int}

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
from . import extract_text

Record = Dict[str, Any]

# Code of a file the file system could not hand over: that of a file the
# library could not read.
_READ_ERROR_CODE = CONVERSION_FAILED


def _text(fs: fsspec.AbstractFileSystem, path: str, complete: bool) -> str:
    if isinstance(fs, LocalFileSystem):
        # The library reads a local file itself: only the sectors that hold
        # the text, rather than the whole file with its pictures.
        return extract_text(path, complete)
    # A memoryview is always read as the file's bytes, never as a path.
    return extract_text(memoryview(fs.cat_file(path)), complete)


def _record(fs: fsspec.AbstractFileSystem, path: str,
            complete: bool) -> Record:
    # Local files keep their plain path; others their URL, protocol included.
    name = path if isinstance(fs, LocalFileSystem) else fs.unstrip_protocol(path)
    try:
        text = _text(fs, path, complete)
    except ConversionError as error:
        return {"path": name, "text": None, "error": error.message,
                "code": error.code}
    except Exception as error:  # whatever the file system raises
        return {"path": name, "text": None,
                "error": str(error) or type(error).__name__,
                "code": _READ_ERROR_CODE}
    return {"path": name, "text": text, "error": None, "code": 0}


def _records(paths: List[str], fs: fsspec.AbstractFileSystem,
             complete: bool) -> List[Record]:
    return [_record(fs, path, complete) for path in paths]


def extract_bag(urlpaths: Union[str, Sequence[str]],
                files_per_partition: int = 64,
                storage_options: Optional[Dict[str, Any]] = None,
                complete: bool = False) -> dask.bag.Bag:
    """A bag of the text records of the files urlpaths names.

    urlpaths is a path, glob or URL, or a list of them, all on one file
    system; storage_options go to that file system (credentials, endpoint,
    ...). Files are listed now and converted when the bag is computed, in
    partitions of files_per_partition files, in the order listed; with
    complete=True each record holds the complete text. Raises
    FileNotFoundError when nothing matches.
    """
    if not isinstance(files_per_partition, int) or files_per_partition < 1:
        raise ValueError("files_per_partition must be a positive int, not "
                         f"{files_per_partition!r}")
    fs, _, paths = fsspec.get_fs_token_paths(
        urlpaths, mode="rb", storage_options=storage_options)
    if not paths:
        raise FileNotFoundError(f"no file matches {urlpaths!r}")
    bag = dask.bag.from_sequence(paths, partition_size=files_per_partition)
    return bag.map_partitions(_records, fs, complete)
