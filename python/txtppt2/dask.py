"""Text from collections of presentations on Dask.

``extract_bag`` lists the files with fsspec (a local glob, a list of paths,
or any URL fsspec knows: ``s3://``, ``gcs://``, ``hdfs://``, ...) and gives
a ``dask.bag.Bag`` of one record per file::

    {"path": str, "status": str, "format": str | None, "text": str | None,
     "error": str | None, "errno": str | None, "code": int}

``status`` is the file's status ("ok", "encrypted", "old_format",
"other_format", "damaged", "unreadable") and ``format`` what it is ("ppt",
"ppt95", "pptx", "doc", ...; None when it could not be read). ``text`` is
the text of an ok file and what could still be read of a damaged one.
``errno`` names the system's error ("ENOENT") of an unreadable file.
``password=`` reads encrypted presentations.

Each worker reads its files' bytes through fsspec and converts them from
memory; local files (and so files on a shared file system) it converts from
their path, which reads only the part of the file that holds the text. A
file that cannot be read or converted gives a record with its error message
and code (the library's code; 4 when the file could not be read), never a
failed task. ``code`` is 0 for a converted file.

The bag runs on Dask's default scheduler or on a ``distributed.Client``.
Workers import txtppt2 themselves: install it on every machine, or put the
build's python folder on their PYTHONPATH.
"""
import errno
from typing import Any, Dict, List, Optional, Sequence, Tuple, Union

import dask.bag
import fsspec
from fsspec.implementations.local import LocalFileSystem

from ._errors import ConversionError, DamagedPresentationError
from ._txtppt2 import CONVERSION_FAILED
from . import _text_and_format

Record = Dict[str, Any]

# Code of a file the file system could not hand over: that of a file the
# library could not read.
_READ_ERROR_CODE = CONVERSION_FAILED


# What a file system that raises an OSError without errno meant.
_ERRNO_BY_CLASS = {FileNotFoundError: errno.ENOENT,
                   IsADirectoryError: errno.EISDIR,
                   PermissionError: errno.EACCES}


def _errno_name(error: OSError) -> Optional[str]:
    number = error.errno or _ERRNO_BY_CLASS.get(type(error))
    return errno.errorcode.get(number) if number else None


def _text(fs: fsspec.AbstractFileSystem, path: str, complete: bool,
          password: Optional[str]) -> Tuple[str, str]:
    if isinstance(fs, LocalFileSystem):
        return _text_and_format(path, complete, password)
    # A memoryview is always read as the file's bytes, never as a path.
    return _text_and_format(memoryview(fs.cat_file(path)), complete, password)


def _record(fs: fsspec.AbstractFileSystem, path: str, complete: bool,
            password: Optional[str]) -> Record:
    # Local files keep their plain path; others their URL, protocol included.
    name = path if isinstance(fs, LocalFileSystem) else fs.unstrip_protocol(path)
    try:
        text, format = _text(fs, path, complete, password)
    except ConversionError as error:
        salvaged = error.text if isinstance(
            error, DamagedPresentationError) and error.text else None
        return {"path": name, "status": error.status, "format": error.format,
                "text": salvaged, "error": error.error, "errno": None,
                "code": error.code or _READ_ERROR_CODE}
    except OSError as error:  # the file system refused it
        return {"path": name, "status": "unreadable", "format": None,
                "text": None, "error": error.strerror or str(error),
                "errno": _errno_name(error),
                "code": _READ_ERROR_CODE}
    except Exception as error:  # whatever else the file system raises
        return {"path": name, "status": "unreadable", "format": None,
                "text": None, "error": str(error) or type(error).__name__,
                "errno": None, "code": _READ_ERROR_CODE}
    return {"path": name, "status": "ok", "format": format, "text": text,
            "error": None, "errno": None, "code": 0}


def _records(paths: List[str], fs: fsspec.AbstractFileSystem,
             complete: bool, password: Optional[str]) -> List[Record]:
    return [_record(fs, path, complete, password) for path in paths]


def extract_bag(urlpaths: Union[str, Sequence[str]],
                files_per_partition: int = 64,
                storage_options: Optional[Dict[str, Any]] = None,
                complete: bool = False,
                password: Optional[str] = None) -> dask.bag.Bag:
    """A bag of the text records of the files urlpaths names.

    urlpaths is a path, glob or URL, or a list of them, all on one file
    system; storage_options go to that file system (credentials, endpoint,
    ...). Files are listed now and converted when the bag is computed, in
    partitions of files_per_partition files, in the order listed; with
    complete=True each record holds the complete text; password= is the
    password of encrypted presentations. Raises
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
    if password is not None and not isinstance(password, str):
        raise TypeError(
            f"password must be a str or None, not {type(password).__name__}")
    return bag.map_partitions(_records, fs, complete, password)
