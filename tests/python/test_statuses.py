"""Every kind of file, named alike by each surface: the command's JSON
records, its standard error and exit status, and the Python exceptions
(Dask's records carry the same fields: test_module.py). The kinds are made here (zip packages, a PDF, cut-short
copies, ...) or taken from the shared corpus (encrypted presentations,
PowerPoint 95 and 4.0 files), whose cases skip without ../shared and fail
without it in CI."""
import errno
import io
import json
import os
import random
import subprocess
import zipfile
from pathlib import Path

import pytest
import txtppt2

CLI = os.environ["TXTPPT2_CLI"]
EXAMPLES = Path(os.environ["TXTPPT2_EXAMPLES_DIR"])
SEEDS = Path(os.environ["TXTPPT2_SEEDS_DIR"])
CORPUS = Path(os.environ["TXTPPT2_SHARED_DIR"]) / "corpus" / "ppt"
SAMPLE = EXAMPLES / "sample.ppt"

ERROR_CLASSES = {
    "encrypted": txtppt2.EncryptedPresentationError,
    "old_format": txtppt2.OldFormatError,
    "other_format": txtppt2.UnsupportedFormatError,
    "damaged": txtppt2.DamagedPresentationError,
}


def zip_bytes(*names):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w") as archive:
        for name in names:
            archive.writestr(name, "<x/>")
    return buffer.getvalue()


# name: (contents or maker, password, status, format, words on stderr,
# errno name); a maker gets the folder to make it in.
MADE = {
    "sample": (SAMPLE.read_bytes(), None, "ok", "ppt", None, None),
    "cut short": (SAMPLE.read_bytes()[:3840], None, "damaged", "ppt",
                  "damaged presentation: the file is cut short", None),
    "pptx": (zip_bytes("[Content_Types].xml", "ppt/presentation.xml"), None,
             "other_format", "pptx", "PowerPoint 2007 or later", None),
    "docx": (zip_bytes("[Content_Types].xml", "word/document.xml"), None,
             "other_format", "docx", "Word 2007 or later", None),
    "zip": (zip_bytes("notes.txt"), None, "other_format", "zip",
            "a zip archive", None),
    "pdf": (b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n", None, "other_format",
            "pdf", "a PDF document", None),
    "empty": (b"", None, "other_format", "empty", "an empty file", None),
    "random": (random.Random(24).randbytes(5000), None, "other_format",
               "unknown", "nor a format txtppt2 knows", None),
    "doc": ((SEEDS / "no_document_stream.ppt").read_bytes(), None,
            "other_format", "doc", "a Word 97-2003 document", None),
    "folder": (lambda folder: folder.mkdir(), None, "unreadable", None,
               "Is a directory", "EISDIR"),
    "missing": (lambda folder: None, None, "unreadable", None,
                "No such file or directory", "ENOENT"),
}

# name: (corpus file, password, status, format, words on stderr, what the
# text holds). Each cipher's decryption is poi_decryption_test.py's.
FROM_CORPUS = {
    "encrypted": ("Password_Protected-hello.ppt", None, "encrypted", "ppt",
                  "encrypted presentation (give its password with "
                  "--password-file", None),
    "wrong password": ("Password_Protected-hello.ppt", "hullo", "encrypted",
                       "ppt", "encrypted presentation: wrong password", None),
    "decrypted": ("Password_Protected-hello.ppt", "hello", "ok", "ppt", None,
                  "The password is \u201chello\u201d"),
    "PowerPoint 95": ("PPT95.ppt", None, "ok", "ppt95", None,
                      "XML, HTML and All That\r\n"),
    "PowerPoint 4": ("pp40only.ppt", None, "old_format", "ppt4",
                     "PowerPoint 4.0 or older", None),
}


# The cases that need the cipher library, which a -m32 build may lack.
CIPHER_CASES = {kind for kind, case in FROM_CORPUS.items()
                if case[2] == "encrypted" or case[1] is not None}
DECRYPTION = os.environ.get("TXTPPT2_DECRYPTION") != "OFF"


def corpus_file(name):
    if not CORPUS.is_dir():
        message = f"the shared corpus is not at {CORPUS}"
        pytest.fail(message) if os.environ.get("CI") == "true" else pytest.skip(message)
    return CORPUS / name


def command(args, password=None):
    env = dict(os.environ)
    env.pop("TXTPPT2_PASSWORD", None)
    if password is not None:
        env["TXTPPT2_PASSWORD"] = password
    return subprocess.run([CLI] + args, capture_output=True, env=env,
                          timeout=120)


def check_every_surface(path, password, status, format, words, errno_name,
                        text_holds=None):
    # The command's JSON record.
    json_run = command(["--format", "json", str(path)], password)
    record = json.loads(json_run.stdout)
    assert (record["path"], record["status"], record["format"],
            record["errno"]) == (str(path), status, format, errno_name)
    assert json_run.returncode == (0 if status == "ok" else 1)
    slides = "\n".join(slide["text"] for slide in record["slides"] or [])
    # Its text mode: the same status, one line on standard error.
    run = command([str(path)], password)
    assert run.returncode == (0 if status == "ok" else 1)
    assert json_run.stderr == run.stderr
    text = run.stdout.decode("utf-8")
    if status == "ok":
        assert run.stderr == b""
        if text_holds:
            assert text_holds in text
            assert text_holds.strip() in slides
    else:
        line = run.stderr.decode("utf-8")
        assert line.startswith(f"txtppt2: {path}: ") and words in line
        assert line.count("\n") == 1 and line.endswith("\n")
    # Python.
    if status == "ok":
        assert txtppt2.extract_text(path, password=password) == text
    elif status == "unreadable":
        with pytest.raises(OSError) as raised:
            txtppt2.extract_text(path, password=password)
        assert (errno.errorcode[raised.value.errno],
                raised.value.filename) == (errno_name, str(path))
    else:
        with pytest.raises(ERROR_CLASSES[status]) as raised:
            txtppt2.extract_text(path, password=password)
        error = raised.value
        assert (error.status, error.format, error.source) == (status, format,
                                                              path)
        assert str(error).startswith(f"{path}: ")
        if status == "damaged":
            assert error.text == text
    return text


@pytest.mark.parametrize("kind", MADE)
def test_each_made_kind_is_named_alike_everywhere(kind, tmp_path):
    contents, password, status, format, words, errno_name = MADE[kind]
    path = tmp_path / "deck.ppt"
    if callable(contents):
        contents(path)
    else:
        path.write_bytes(contents)
    text = check_every_surface(path, password, status, format, words,
                               errno_name)
    if kind == "cut short":  # what survives is given
        assert "Café crème" in text


@pytest.mark.parametrize("kind", FROM_CORPUS)
def test_each_corpus_kind_is_named_alike_everywhere(kind):
    name, password, status, format, words, text_holds = FROM_CORPUS[kind]
    if kind in CIPHER_CASES and not DECRYPTION:
        pytest.skip("this build cannot decrypt (no Nettle for its target)")
    check_every_surface(corpus_file(name), password, status, format, words,
                        None, text_holds)


def test_password_file_is_read_and_its_line_end_dropped(tmp_path):
    if not DECRYPTION:
        pytest.skip("this build cannot decrypt (no Nettle for its target)")
    deck = corpus_file("Password_Protected-hello.ppt")
    secret = tmp_path / "password"
    secret.write_bytes(b"hello\r\n")
    run = command(["--password-file", str(secret), str(deck)], "wrong")
    assert run.returncode == 0 and b"The password is" in run.stdout
    run = command(["--password-file", str(tmp_path / "none"), str(deck)])
    assert run.returncode == 2 and b"No such file or directory" in run.stderr
