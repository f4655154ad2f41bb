"""The txtppt2 module: its results, sources, errors, threads and dask bags.
The corpus itself is compared through the exports by the C host test; here
it only feeds the threads and the dask schedulers. Those cases skip without
../shared, and fail without it in CI."""
import contextlib
import errno
import dataclasses
import io
import json
import mmap
import os
import pickle
import shutil
import subprocess
import threading
import typing
from pathlib import Path

import pytest
import txtppt2
import txtppt2.dask
from txtppt2 import (ConversionError, DamagedPresentationError, StorageError,
                     UnsupportedFormatError)

EXAMPLES = Path(os.environ["TXTPPT2_EXAMPLES_DIR"])
SEEDS = Path(os.environ["TXTPPT2_SEEDS_DIR"])
CORPUS = Path(os.environ["TXTPPT2_SHARED_DIR"]) / "corpus"
SAMPLE = EXAMPLES / "sample.ppt"
SAMPLE_TEXT = (EXAMPLES / "sample.expected.txt").read_bytes().decode("utf-8")


def corpus(every=1):
    """The corpus's presentations (every n-th), or the skip or failure."""
    if not (CORPUS / "ppt").is_dir():
        message = f"the shared corpus is not at {CORPUS}"
        pytest.fail(message) if os.environ.get("CI") == "true" else pytest.skip(message)
    return sorted((CORPUS / "ppt").glob("*.ppt"))[::every]


def open_mmap(path, stack):
    file = stack.enter_context(open(path, "rb"))
    return stack.enter_context(mmap.mmap(file.fileno(), 0, access=mmap.ACCESS_READ))


SOURCES = {
    "str path": lambda path, stack: str(path),
    "bytes path": lambda path, stack: os.fsencode(path),
    "PathLike": lambda path, stack: path,
    "bytes": lambda path, stack: path.read_bytes(),
    "bytearray": lambda path, stack: bytearray(path.read_bytes()),
    "memoryview": lambda path, stack: memoryview(path.read_bytes()),
    "strided memoryview": lambda path, stack:
        memoryview(bytes(b for b in path.read_bytes() for _ in "ab"))[::2],
    "mmap": open_mmap,
    "file object": lambda path, stack: stack.enter_context(open(path, "rb")),
    "BytesIO": lambda path, stack: io.BytesIO(path.read_bytes()),
}


@pytest.mark.parametrize("kind", SOURCES)
def test_every_kind_of_source_converts(kind, tmp_path):
    # A file name that is not valid UTF-8 must reach the file as it is.
    path = tmp_path / os.fsdecode(b"caf\xe9 deck.ppt")
    shutil.copy(SAMPLE, path)
    with contextlib.ExitStack() as stack:
        assert txtppt2.is_supported(SOURCES[kind](path, stack))
        assert txtppt2.extract_text(SOURCES[kind](path, stack)) == SAMPLE_TEXT
        assert txtppt2.extract_presentation(SOURCES[kind](path, stack)) == \
            txtppt2.extract_presentation(SAMPLE)


def test_a_path_longer_than_the_exports_take_converts(tmp_path):
    folder = tmp_path.joinpath(*["d" * 200] * 6)  # over 1023 bytes in all
    folder.mkdir(parents=True)
    shutil.copy(SAMPLE, folder / "deck.ppt")
    assert txtppt2.extract_text(folder / "deck.ppt") == SAMPLE_TEXT


def test_a_pipe_reads_as_its_file():
    deck = SEEDS / "many_containers.ppt"  # 160 KiB: more than one read
    read, write = os.pipe()
    feeder = threading.Thread(target=lambda: open(write, "wb").write(deck.read_bytes()))
    feeder.start()
    try:
        assert txtppt2.extract_presentation(f"/dev/fd/{read}") == \
            txtppt2.extract_presentation(deck)
    finally:
        feeder.join()
        os.close(read)


def test_lone_surrogate_becomes_replacement_character():
    deck = SEEDS / "mixed_scripts.ppt"
    exact = txtppt2.extract_bytes(deck).decode("utf-16-le", "surrogatepass")
    assert "\ud800" in exact
    assert txtppt2.extract_text(deck) == exact.replace("\ud800", "\ufffd")


# The kinds of failure by route (the core's own cases are tested in C++;
# every kind of file in test_statuses.py): the exception, its status and
# format, and the exports' code for the same bytes.
@pytest.mark.parametrize("make_source, error_class, status, format, code", [
    (lambda tmp_path: bytearray(SAMPLE.read_bytes()[:1000]),
     DamagedPresentationError, "damaged", "ole", 4),
    (lambda tmp_path: SEEDS / "no_document_stream.ppt",
     UnsupportedFormatError, "other_format", "doc", 1003),
])
def test_failure_raises_its_kind_with_the_library_code(
        make_source, error_class, status, format, code, tmp_path):
    source = make_source(tmp_path)
    for encoding in ("utf-16le", "cp1252"):
        with pytest.raises(ConversionError) as raised:
            txtppt2.extract_bytes(source, encoding)
        error = raised.value
        assert (type(error), error.status, error.format, error.code,
                error.source) == (error_class, status, format, code, source)
        assert isinstance(error, StorageError) and error.message
        assert str(error).endswith(": " + error.error)
    copy = pickle.loads(pickle.dumps(error))
    assert (type(copy), copy.code, copy.status, copy.format) == (
        error_class, code, status, format)
    assert not txtppt2.is_supported(source)


@pytest.mark.parametrize("name, error_class, errno_name", [
    ("missing folder/x.ppt", FileNotFoundError, "ENOENT"),
    ("x" * 1100 + ".ppt", OSError, "ENAMETOOLONG"),
    (".", IsADirectoryError, "EISDIR"),
])
def test_what_the_system_refuses_raises_its_os_error(name, error_class,
                                                     errno_name, tmp_path):
    path = tmp_path / name
    with pytest.raises(OSError) as raised:
        txtppt2.extract_text(path)
    error = raised.value
    assert type(error) is error_class and not isinstance(error, ConversionError)
    assert (errno.errorcode[error.errno], error.filename) == (errno_name, str(path))
    assert error.strerror == os.strerror(error.errno)


@pytest.mark.parametrize("call, error_class", [
    (lambda: txtppt2.extract_text(42), TypeError),
    (lambda: txtppt2.extract_text(None), TypeError),
    (lambda: txtppt2.extract_text(io.StringIO("text mode")), TypeError),
    (lambda: txtppt2.is_supported(["a.ppt"]), TypeError),
    (lambda: txtppt2.extract_text("bad\0name.ppt"), ValueError),
    (lambda: txtppt2.extract_text("\ud800.ppt"), ValueError),
    (lambda: txtppt2.is_supported("\udfff.ppt"), ValueError),
    (lambda: txtppt2.extract_bytes(SAMPLE, "utf-8"), ValueError),
    (lambda: txtppt2.extract_bytes(SAMPLE, 1252), TypeError),
    (lambda: txtppt2.extract_bytes(SAMPLE, None), TypeError),
    (lambda: txtppt2.extract_many(str(SAMPLE)), TypeError),
    (lambda: txtppt2.extract_many(os.fsencode(SAMPLE)), TypeError),
    (lambda: txtppt2.extract_many(SAMPLE), TypeError),
    (lambda: txtppt2.extract_text(SAMPLE, password=b"pw"), TypeError),
    (lambda: txtppt2.dask.extract_bag(str(SAMPLE), password=1), TypeError),
    (lambda: txtppt2.extract_many([SAMPLE], jobs=0), ValueError),
    (lambda: txtppt2.extract_many([SAMPLE], jobs=2.0), TypeError),
    (lambda: txtppt2.extract_text(SAMPLE, complete="yes"), TypeError),
    (lambda: txtppt2.dask.extract_bag(str(SAMPLE), 0), ValueError),
    (lambda: txtppt2.dask.extract_bag("/nowhere/*.ppt"), FileNotFoundError),
    (lambda: txtppt2.dask.extract_bag(str(SAMPLE), records="pages"), ValueError),
    (lambda: txtppt2.extract_presentation(42), TypeError),
])
def test_wrong_arguments_raise_type_or_value_errors(call, error_class,
                                                   tmp_path):
    with pytest.raises(error_class) as raised:
        call()
    assert not isinstance(raised.value, ConversionError)


def serial_result(source):
    try:
        return txtppt2.extract_text(source)
    except ConversionError as error:
        return (type(error), error.code)
    except OSError as error:
        return (type(error), error.errno)


def test_threads_give_the_serial_results_in_order(tmp_path):
    sources = [SAMPLE, tmp_path / "missing.ppt", SAMPLE.read_bytes(),
               SEEDS / "no_document_stream.ppt"] * 3 + corpus(every=4)
    results = list(txtppt2.extract_many(iter(sources), jobs=2))
    assert [source for source, _ in results] == sources
    assert [serial_result(source) for source in sources] == [
        result if isinstance(result, str) else (type(result), getattr(
            result, "code", None) if isinstance(result, ConversionError)
            else result.errno)
        for _, result in results]


def test_complete_text_is_the_commands_in_every_way_of_asking():
    # The command's --complete is the reference; each route must carry the
    # flag through to the core, and the default must stay the exports' text.
    def command(encoding):
        return subprocess.run([os.environ["TXTPPT2_CLI"], "--complete",
                               "--encoding", encoding, str(SAMPLE)],
                              check=True, capture_output=True).stdout
    text = command("utf-16le").decode("utf-16-le")
    assert text != SAMPLE_TEXT
    assert txtppt2.extract_text(SAMPLE) == SAMPLE_TEXT
    assert txtppt2.extract_text(SAMPLE, complete=True) == text
    assert txtppt2.extract_text(memoryview(SAMPLE.read_bytes()), True) == text
    assert txtppt2.extract_bytes(SAMPLE, "cp1252", complete=True) == command("cp1252")
    assert [result for _, result in
            txtppt2.extract_many([SAMPLE] * 3, jobs=2, complete=True)] == [text] * 3
    bag = txtppt2.dask.extract_bag(str(SAMPLE), complete=True)
    assert [record["text"] for record in bag.compute(scheduler="sync")] == [text]


def test_dask_bag_reads_any_fsspec_url_and_records_failures():
    import fsspec
    memory = fsspec.filesystem("memory")
    sample = SAMPLE.read_bytes()
    memory.pipe({"/decks/a.ppt": sample, "/decks/b.ppt": b"not a deck",
                 "/decks/c.ppt": sample[:3840], "/decks/d.txt": sample})
    try:
        # The memory file system lives in this process: use threads.
        bag = txtppt2.dask.extract_bag(["memory://decks/*.ppt",
                                        "memory://decks/gone.ppt"],
                                       files_per_partition=3)
        records = bag.compute(scheduler="threads")
        frame = bag.to_dataframe().compute(scheduler="threads")
    finally:
        memory.rm("/decks", recursive=True)
    assert bag.npartitions == 2
    assert [(r["path"], r["status"], r["format"], r["errno"], r["code"])
            for r in records] == [
        ("memory:///decks/a.ppt", "ok", "ppt", None, 0),
        ("memory:///decks/b.ppt", "other_format", "unknown", None, 4),
        ("memory:///decks/c.ppt", "damaged", "ppt", None, 4),
        ("memory:///decks/gone.ppt", "unreadable", None, "ENOENT", 4)]
    assert records[0]["text"] == txtppt2.extract_text(sample)
    # A damaged deck's record holds what could still be read.
    assert [r["text"] for r in records[1:] if r is not records[2]] == [None] * 2
    assert "Café crème" in records[2]["text"]
    assert list(frame.columns) == ["path", "status", "format", "text",
                                   "error", "errno", "code", "properties"]
    assert records[0]["properties"] == \
        txtppt2.extract_presentation(sample).to_dict()["properties"]
    assert all(r["properties"] is None for r in records[1:])


def test_dask_schedulers_give_the_serial_records():
    from distributed import Client, LocalCluster
    paths = corpus(every=4)
    serial = list(txtppt2.extract_many(paths, jobs=1))
    bag = txtppt2.dask.extract_bag([str(path) for path in paths],
                                   files_per_partition=16)
    records = bag.compute()
    assert [(r["path"], r["text"] if r["status"] == "ok" else None)
            for r in records] == [
        (str(path), text if isinstance(text, str) else None)
        for path, text in serial]
    assert [r["status"] for r in records] == [
        "ok" if isinstance(text, str) else text.status for _, text in serial]
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                      dashboard_address=":0") as cluster, Client(cluster):
        assert bag.compute() == records


def command(*args, stdin=None):
    return subprocess.run([os.environ["TXTPPT2_CLI"], *args], input=stdin,
                          check=False, capture_output=True).stdout


DECKS = [SAMPLE, SEEDS / "mixed_scripts.ppt", SEEDS / "many_containers.ppt"]


@pytest.mark.parametrize("deck", DECKS, ids=lambda path: path.name)
def test_presentation_is_the_commands_json_and_markdown(deck):
    presentation = txtppt2.extract_presentation(deck)
    record = json.loads(command("--format", "json", str(deck)))
    assert presentation.to_dict() == {
        key: record[key] for key in ("properties", "slides", "masters")}
    assert presentation.to_markdown() == \
        command("--format", "markdown", str(deck)).decode("utf-8")
    assert [slide.number for slide in presentation.slides] == \
        list(range(1, len(presentation.slides) + 1))


def test_presentation_dataclasses_are_frozen_and_round_trip():
    presentation = txtppt2.extract_presentation(SAMPLE)
    slide = presentation.slides[0]
    for target, name in ((presentation, "slides"), (slide, "title"),
                         (presentation.properties, "author")):
        with pytest.raises(dataclasses.FrozenInstanceError):
            setattr(target, name, None)
    assert txtppt2.Presentation.from_dict(presentation.to_dict()) == presentation
    tabled = dataclasses.replace(presentation, slides=(dataclasses.replace(
        slide, tables=((("a\n", ""), ("b\n",)),)),))
    assert txtppt2.Presentation.from_dict(tabled.to_dict()) == tabled
    assert pickle.loads(pickle.dumps(presentation)) == presentation
    assert json.loads(json.dumps(presentation.to_dict())) == presentation.to_dict()
    # to_dict hands out copies: changing them leaves the deck as it was.
    copy = presentation.to_dict()
    copy["slides"][0]["title"] = "changed"
    copy["properties"]["custom"]["x"] = 1
    assert presentation.to_dict() != copy
    assert typing.get_type_hints(txtppt2.extract_presentation)["return"] \
        is txtppt2.Presentation
    assert (txtppt2.__version__ == os.environ["TXTPPT2_VERSION"] and
            os.path.exists(os.path.join(os.path.dirname(txtppt2.__file__), "py.typed")))
    with pytest.raises(UnsupportedFormatError):  # the text's error class
        txtppt2.extract_presentation(SEEDS / "no_document_stream.ppt")


def test_markdown_of_a_built_deck_is_escaped_by_the_shared_renderer():
    deck = txtppt2.Presentation(txtppt2.Properties(), (
        txtppt2.Slide(1, "Plan #", "Re: Plan #\nPlan #\n# not a heading\n<!-- x -->\n",
                      notes="lone \ud800 surrogate"),
        txtppt2.Slide(2, None, "```\nbody\n", hidden=True),
    ))
    assert deck.to_markdown() == (
        "<!-- Slide number: 1 -->\n# Plan \\#\nRe: Plan #\n\\# not a heading\n"
        "\\<!-- x -->\n\n### Notes:\nlone \ufffd surrogate\n\n"
        "<!-- Slide number: 2 -->\n\\```\nbody\n\n")


def test_dask_slide_records_are_the_presentations_slides(tmp_path):
    # Copies under tmp_path, whose name fsspec keeps as it is.
    missing = str(tmp_path / "missing.ppt")
    (tmp_path / "notes.txt").write_bytes(b"n" * 600)
    shutil.copy(SAMPLE, tmp_path / "a.ppt")
    shutil.copy(DECKS[1], tmp_path / "b.ppt")
    paths = [str(tmp_path / name) for name in ("a.ppt", "notes.txt", "b.ppt")]
    bag = txtppt2.dask.extract_bag(paths + [missing], files_per_partition=2,
                                   records="slides")
    records = bag.compute(scheduler="sync")
    expected = []
    for path in paths[::2]:
        expected.append([
            {"path": path, "status": "ok", "format": "ppt",
             "number": slide.number, "title": slide.title,
             "text": slide.text, "notes": slide.notes, "hidden": slide.hidden,
             "error": None, "errno": None, "code": 0}
            for slide in txtppt2.extract_presentation(path).slides])
    failures = [r for r in records if r["error"] is not None]
    assert [r for r in records if r["error"] is None] == expected[0] + expected[1]
    assert [(r["path"], r["code"], r["number"], r["text"]) for r in failures] == [
        (paths[1], 4, None, None), (missing, 4, None, None)]
    assert records.index(failures[0]) == len(expected[0])
    assert all(list(r) == ["path", "status", "format", "number", "title",
                           "text", "notes", "hidden", "error", "errno", "code"]
               for r in records)
