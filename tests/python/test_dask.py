"""txtppt2.dask: bags of records on the default scheduler and on a cluster."""
import fsspec
import pytest
from distributed import Client, LocalCluster

import txtppt2
import txtppt2.dask
from shared_data import CORPUS, EXAMPLES, require_corpus


def serial_record(path):
    try:
        return {"path": str(path), "text": txtppt2.extract_text(path),
                "error": None, "code": 0}
    except txtppt2.ConversionError as error:
        return {"path": str(path), "text": None, "error": error.message,
                "code": error.code}


def test_bag_reads_any_fsspec_url_and_records_failures():
    memory = fsspec.filesystem("memory")
    sample = (EXAMPLES / "sample.ppt").read_bytes()
    memory.pipe({"/decks/a.ppt": sample, "/decks/b.ppt": b"not a deck",
                 "/decks/c.ppt": sample[:1000], "/decks/d.txt": sample})
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
    assert [(r["path"], r["code"]) for r in records] == [
        ("memory:///decks/a.ppt", 0), ("memory:///decks/b.ppt", 4),
        ("memory:///decks/c.ppt", 4), ("memory:///decks/gone.ppt", 4)]
    assert records[0]["text"] == txtppt2.extract_text(sample)
    assert all(r["error"] and r["text"] is None for r in records[1:])
    assert list(frame.columns) == ["path", "text", "error", "code"]
    assert list(frame["code"]) == [0, 4, 4, 4]


def test_bag_arguments_are_checked(tmp_path):
    with pytest.raises(FileNotFoundError):
        txtppt2.dask.extract_bag(str(tmp_path / "*.ppt"))
    with pytest.raises(ValueError):
        txtppt2.dask.extract_bag(str(EXAMPLES / "sample.ppt"), 0)


def test_schedulers_give_the_serial_records_of_the_corpus():
    require_corpus()
    expected = [serial_record(path) for path in sorted((CORPUS / "ppt").glob("*.ppt"))]
    bag = txtppt2.dask.extract_bag(str(CORPUS / "ppt" / "*.ppt"),
                                   files_per_partition=16)
    assert bag.compute() == expected
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                      dashboard_address=":0") as cluster, Client(cluster):
        assert bag.compute() == expected
