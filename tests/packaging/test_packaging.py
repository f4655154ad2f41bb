"""The pip backend's wheel and `python3 -m txtppt2`.

Environment: TXTPPT2_SOURCE_DIR (the project), TXTPPT2_CLI (the built
command), PYTHONPATH holding the built module.
"""
import base64
import hashlib
import io
import os
import subprocess
import sys
import zipfile

import pytest

SOURCE = os.environ["TXTPPT2_SOURCE_DIR"]
sys.path.insert(0, os.path.join(SOURCE, "python", "build_backend"))
import txtppt2_backend  # noqa: E402


def test_wheel_records_every_file_with_its_hash(tmp_path):
    package = tmp_path / "stage" / "txtppt2"
    package.mkdir(parents=True)
    contents = {"__init__.py": b"x = 1\n", "_txtppt2.so": bytes(range(256)),
                "py.typed": b"", "__pycache__/__init__.cpython-311.pyc": b"0"}
    for name, data in contents.items():
        (package / name).parent.mkdir(exist_ok=True)
        (package / name).write_bytes(data)
    project = txtppt2_backend.project_table()
    version = txtppt2_backend.project_version()
    tag = txtppt2_backend.wheel_tag()
    name = txtppt2_backend.write_wheel(str(tmp_path), str(package), project,
                                       version, tag)
    assert name == f"txtppt2-{version}-{tag}.whl"

    dist_info = f"txtppt2-{version}.dist-info"
    with zipfile.ZipFile(tmp_path / name) as wheel:
        files = {info.filename: wheel.read(info) for info in wheel.infolist()}
    record = files.pop(f"{dist_info}/RECORD").decode().splitlines()
    assert f"{dist_info}/RECORD,," in record
    listed = {}
    for line in record:
        path, digest, size = line.rsplit(",", 2)
        listed[path] = (digest, size)
    for path, data in files.items():
        expected = base64.urlsafe_b64encode(
            hashlib.sha256(data).digest()).rstrip(b"=").decode()
        assert listed.pop(path) == (f"sha256={expected}", str(len(data)))
    assert list(listed) == [f"{dist_info}/RECORD"]
    # Compiled files stay out; the rest is under the package's name.
    assert sorted(path for path in files if not path.startswith(dist_info)) \
        == ["txtppt2/__init__.py", "txtppt2/_txtppt2.so", "txtppt2/py.typed"]
    meta = files[f"{dist_info}/METADATA"].decode()
    assert "Name: txtppt2\n" in meta and f"Version: {version}\n" in meta
    assert f"Tag: {tag}\n" in files[f"{dist_info}/WHEEL"].decode()


def run(command, stdin=b""):
    result = subprocess.run(command, input=stdin, capture_output=True)
    return result.returncode, result.stdout, result.stderr


@pytest.mark.parametrize("arguments", [
    [],
    ["examples/sample.ppt"],
    ["examples/sample.ppt", "README.md", "examples/sample.ppt"],
    ["-"],
    ["no such file.ppt"],
])
def test_module_prints_what_the_command_prints(arguments):
    with open(os.path.join(SOURCE, "examples", "sample.ppt"), "rb") as file:
        deck = file.read()
    os.chdir(SOURCE)
    command = run([os.environ["TXTPPT2_CLI"], *arguments], deck)
    module = run([sys.executable, "-m", "txtppt2", *arguments], deck)
    # Wrong usage: the same status and nothing on standard output; the
    # usage lines differ.
    assert module == command if arguments else module[:2] == command[:2]


def test_debian_packages_have_the_projects_version():
    # The package is native: its version is the project's, unrevised.
    with open(os.path.join(SOURCE, "debian", "changelog")) as changelog:
        first = changelog.readline()
    assert first.startswith(
        f"txtppt2 ({txtppt2_backend.project_version()}) "), first
    major = txtppt2_backend.project_version().split(".")[0]
    with open(os.path.join(SOURCE, "debian", "control")) as control:
        assert f"Package: libtxtppt2-{major}\n" in control.read()
    assert os.path.exists(os.path.join(
        SOURCE, "debian", f"libtxtppt2-{major}.symbols"))


ENCRYPTED = os.path.join(SOURCE, "..", "shared", "corpus", "ppt",
                         "Password_Protected-hello.ppt")


@pytest.mark.parametrize("arguments", [
    [ENCRYPTED],
    ["--password-file", "PASSWORD", ENCRYPTED],
    ["--password-file", "no such file", ENCRYPTED],
])
def test_module_takes_the_password_as_the_command_does(arguments, tmp_path):
    if not os.path.exists(ENCRYPTED):
        if os.environ.get("CI") == "true":
            pytest.fail("the shared corpus (../shared) is missing")
        pytest.skip("the shared corpus (../shared) is not here")
    password = tmp_path / "password"
    password.write_bytes(b"hello\r\nnot this line\n")
    arguments = [str(password) if a == "PASSWORD" else a for a in arguments]
    command = run([os.environ["TXTPPT2_CLI"], *arguments])
    assert run([sys.executable, "-m", "txtppt2", *arguments]) == command
