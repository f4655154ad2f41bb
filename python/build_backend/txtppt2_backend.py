"""The build backend of pyproject.toml: `pip install .` and `pip wheel .`.

It needs nothing but Python's standard library, so pip runs it offline. The
extension is built by the project's own CMake build for the interpreter
that runs pip (a virtual environment's too), against Debian's pybind11-dev
and python3-dev, and packed with the package's Python files into a wheel
for that interpreter.

config_settings: "build-dir" keeps the CMake build in that folder (a
second build is then quick); by default it goes to a temporary folder,
removed afterwards. "jobs" sets the build's parallel jobs (default: one per
core).
"""
import base64
import hashlib
import os
import re
import shutil
import subprocess
import sys
import sysconfig
import tempfile
import tomllib
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(
    os.path.abspath(__file__))))


def project_version(root=ROOT):
    """The version in the top CMakeLists.txt's project(), the one place it
    is kept."""
    with open(os.path.join(root, "CMakeLists.txt"), encoding="utf-8") as file:
        match = re.search(r"project\(\s*txtppt2\s+VERSION\s+([0-9.]+)",
                          file.read())
    if match is None:
        raise RuntimeError("no project(txtppt2 VERSION ...) in CMakeLists.txt")
    return match.group(1)


def project_table(root=ROOT):
    with open(os.path.join(root, "pyproject.toml"), "rb") as file:
        return tomllib.load(file)["project"]


def wheel_tag():
    """This interpreter's tag: cp311-cp311-linux_x86_64, say."""
    implementation = {"cpython": "cp"}.get(sys.implementation.name,
                                           sys.implementation.name)
    version = f"{sys.version_info.major}{sys.version_info.minor}"
    interpreter = implementation + version
    abi = interpreter + getattr(sys, "abiflags", "")
    platform = re.sub(r"[-.]", "_", sysconfig.get_platform())
    return f"{interpreter}-{abi}-{platform}"


def metadata(project, version):
    """The METADATA file (core metadata 2.1) of pyproject's [project]."""
    lines = ["Metadata-Version: 2.1", f"Name: {project['name']}",
             f"Version: {version}"]
    if "description" in project:
        lines.append(f"Summary: {project['description']}")
    if "requires-python" in project:
        lines.append(f"Requires-Python: {project['requires-python']}")
    for extra, requirements in project.get("optional-dependencies", {}).items():
        lines.append(f"Provides-Extra: {extra}")
        lines.extend(f'Requires-Dist: {requirement}; extra == "{extra}"'
                     for requirement in requirements)
    readme = project.get("readme")
    body = ""
    if isinstance(readme, str):
        lines.append("Description-Content-Type: text/markdown")
        with open(os.path.join(ROOT, readme), encoding="utf-8") as file:
            body = "\n" + file.read()
    return "\n".join(lines) + "\n" + body


def record_line(name, data):
    digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest())
    return f"{name},sha256={digest.rstrip(b'=').decode()},{len(data)}"


def write_wheel(wheel_directory, package_dir, project, version, tag):
    """Packs the files of package_dir (the installed package folder) and
    the dist-info into wheel_directory; returns the wheel's file name."""
    name = project["name"]
    dist_info = f"{name}-{version}.dist-info"
    files = {}
    package = os.path.basename(package_dir)
    for folder, _, names in sorted(os.walk(package_dir)):
        for file_name in sorted(names):
            if file_name.endswith(".pyc"):
                continue
            path = os.path.join(folder, file_name)
            relative = os.path.relpath(path, os.path.dirname(package_dir))
            with open(path, "rb") as file:
                files[relative.replace(os.sep, "/")] = file.read()
    if f"{package}/__init__.py" not in files:
        raise RuntimeError(f"no {package}/__init__.py in {package_dir}")
    files[f"{dist_info}/METADATA"] = metadata(project, version).encode()
    files[f"{dist_info}/WHEEL"] = (
        "Wheel-Version: 1.0\nGenerator: txtppt2_backend\n"
        f"Root-Is-Purelib: false\nTag: {tag}\n").encode()
    record = [record_line(path, data) for path, data in files.items()]
    record.append(f"{dist_info}/RECORD,,")
    files[f"{dist_info}/RECORD"] = ("\n".join(record) + "\n").encode()

    wheel_name = f"{name}-{version}-{tag}.whl"
    with zipfile.ZipFile(os.path.join(wheel_directory, wheel_name), "w",
                         zipfile.ZIP_DEFLATED) as wheel:
        for path, data in files.items():
            info = zipfile.ZipInfo(path, date_time=(1980, 1, 1, 0, 0, 0))
            info.external_attr = (0o755 if path.endswith(".so") else 0o644) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            wheel.writestr(info, data)
    return wheel_name


def build_extension(build_dir, stage_dir, jobs):
    """The CMake build of the module for this interpreter, installed into
    stage_dir/txtppt2."""
    def run(*command):
        print("txtppt2_backend:", " ".join(command), file=sys.stderr)
        subprocess.run(command, check=True, stdout=sys.stderr)
    run("cmake", "-S", ROOT, "-B", build_dir, "-DCMAKE_BUILD_TYPE=Release",
        "-DTXTPPT2_BUILD_TESTS=OFF", "-DTXTPPT2_BUILD_CLI=OFF",
        "-DTXTPPT2_BUILD_PYTHON=ON", f"-DPython3_EXECUTABLE={sys.executable}",
        f"-DTXTPPT2_PYTHON_INSTALL_DIR={stage_dir}")
    run("cmake", "--build", build_dir, "--target", "txtppt2_python",
        "-j", str(jobs))
    run("cmake", "--install", build_dir, "--component", "Python")
    return os.path.join(stage_dir, "txtppt2")


def get_requires_for_build_wheel(config_settings=None):
    return []


def build_wheel(wheel_directory, config_settings=None,
                metadata_directory=None):
    settings = config_settings or {}
    jobs = int(settings.get("jobs", os.cpu_count() or 1))
    scratch = tempfile.mkdtemp(prefix="txtppt2-wheel-")
    try:
        build_dir = settings.get("build-dir") or os.path.join(scratch, "build")
        package_dir = build_extension(os.path.abspath(build_dir),
                                      os.path.join(scratch, "stage"), jobs)
        return write_wheel(wheel_directory, package_dir, project_table(),
                           project_version(), wheel_tag())
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def prepare_metadata_for_build_wheel(metadata_directory, config_settings=None):
    """The dist-info folder alone, without building: pip reads it first."""
    project = project_table()
    version = project_version()
    dist_info = f"{project['name']}-{version}.dist-info"
    os.makedirs(os.path.join(metadata_directory, dist_info), exist_ok=True)
    with open(os.path.join(metadata_directory, dist_info, "METADATA"), "w",
              encoding="utf-8") as file:
        file.write(metadata(project, version))
    return dist_info
