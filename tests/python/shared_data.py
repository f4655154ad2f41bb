"""Where the Python tests find their inputs: the bundled sample, the files
the fixture writer made, and the shared corpus, which is optional outside
CI (CI=true): its cases skip without it, and fail in CI."""
import os
from pathlib import Path

import pytest

EXAMPLES = Path(os.environ["TXTPPT2_EXAMPLES_DIR"])
FIXTURES = Path(os.environ["TXTPPT2_FIXTURES_DIR"])
CORPUS = Path(os.environ["TXTPPT2_SHARED_DIR"]) / "corpus"


def corpus_paths():
    """The corpus's presentations, or [None] for a single case that skips."""
    ppt = CORPUS / "ppt"
    return sorted(ppt.iterdir()) if ppt.is_dir() else [None]


def require_corpus():
    if not (CORPUS / "ppt").is_dir():
        message = f"the shared corpus is not at {CORPUS}"
        if os.environ.get("CI") == "true":
            pytest.fail(message)
        pytest.skip(message)


def expected(path, suffix):
    """The corpus's expected output of that kind for path, or None."""
    file = CORPUS / "expected" / f"{path.name}.{suffix}"
    return file.read_bytes() if file.exists() else None
