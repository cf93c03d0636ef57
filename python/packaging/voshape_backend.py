"""The build backend of the voshape distribution (PEP 517): the project's own CMake build, run
offline with what the machine has, packed into a wheel by hand.

    python3 -m pip wheel --no-build-isolation .
    python3 -m pip install --no-build-isolation .

It configures a Release build of the libraries, the example application and the module in
build/wheel of the source tree (VOSHAPE_WHEEL_BUILD_DIR to change; VOSHAPE_BUILD_JOBS jobs, 2 by
default), builds the module, and packs the package voshape: its Python files, the compiled module
and, in voshape/_libs, the shared libraries it needs, which it finds through its run path
($ORIGIN/_libs; theirs is $ORIGIN). The version is the CMake project's.
"""

import base64
import hashlib
import os
import pathlib
import re
import subprocess
import sys
import sysconfig
import zipfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
SUMMARY = "The shape editor's selection model (libVoshape) on its example application"


def version():
    found = re.search(r"project\(VoShape VERSION ([0-9.]+)", (ROOT / "CMakeLists.txt").read_text())
    if found is None:
        raise RuntimeError(f"no project version in {ROOT / 'CMakeLists.txt'}")
    return found.group(1)


def tag():
    """This interpreter's tag: the module is built for it alone."""
    implementation = f"cp{sys.version_info.major}{sys.version_info.minor}"
    platform = re.sub(r"[-.]", "_", sysconfig.get_platform())
    return f"{implementation}-{implementation}-{platform}"


def dist_info():
    return f"voshape-{version()}.dist-info"


def metadata():
    readme = "See docs/python.md in the project's sources.\n"
    return (f"Metadata-Version: 2.1\nName: voshape\nVersion: {version()}\nSummary: {SUMMARY}\n"
            f"Requires-Python: >=3.7\nDescription-Content-Type: text/plain\n\n{readme}")


def run(command):
    print("voshape_backend:", " ".join(map(str, command)), file=sys.stderr, flush=True)
    subprocess.run(list(map(str, command)), check=True, stdout=sys.stderr)


def build():
    """The module built with its final run path; gives the build folder."""
    folder = pathlib.Path(os.environ.get("VOSHAPE_WHEEL_BUILD_DIR", ROOT / "build" / "wheel"))
    run(["cmake", "-S", ROOT, "-B", folder, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
         "-DVOSHAPE_BUILD_TESTS=OFF", "-DVOSHAPE_BUILD_EDITOR=OFF", "-DVOSHAPE_BUILD_PYTHON=ON",
         f"-DPython_EXECUTABLE={sys.executable}", "-DCMAKE_BUILD_WITH_INSTALL_RPATH=ON",
         "-DVOSHAPE_PYTHON_INSTALL_DIR=site", "-DCMAKE_INSTALL_LIBDIR=site/voshape/_libs"])
    run(["cmake", "--build", folder, "--target", "voshape", "-j",
         os.environ.get("VOSHAPE_BUILD_JOBS", "2")])
    return folder


def contents(folder):
    """Names in the wheel and the files they hold: the package as the build tree has it, and the
    shared libraries under their run-time names (libX.so.N, the file behind the link)."""
    files = {}
    for path in sorted((folder / "python" / "voshape").iterdir()):
        if path.is_file():
            files[f"voshape/{path.name}"] = path
    for path in sorted(folder.glob("lib*.so.*")):
        if re.fullmatch(r"lib\w+\.so\.\d+", path.name):
            files[f"voshape/_libs/{path.name}"] = path.resolve()
    if not any(name.startswith("voshape/_voshape") for name in files):
        raise RuntimeError(f"the build in {folder} made no module")
    return files


def record_line(name, data):
    digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode()
    return f"{name},sha256={digest},{len(data)}\n"


def write_wheel(directory, files):
    name = f"voshape-{version()}-{tag()}.whl"
    info = dist_info()
    extra = {f"{info}/METADATA": metadata().encode(),
             f"{info}/WHEEL": (f"Wheel-Version: 1.0\nGenerator: voshape_backend\n"
                               f"Root-Is-Purelib: false\nTag: {tag()}\n").encode(),
             f"{info}/top_level.txt": b"voshape\n"}
    record = ""
    with zipfile.ZipFile(pathlib.Path(directory) / name, "w", zipfile.ZIP_DEFLATED) as wheel:
        for arcname, path in files.items():
            data = path.read_bytes()
            entry = zipfile.ZipInfo(arcname, date_time=(1980, 1, 1, 0, 0, 0))
            entry.external_attr = (0o755 if os.access(path, os.X_OK) else 0o644) << 16
            wheel.writestr(entry, data, zipfile.ZIP_DEFLATED)
            record += record_line(arcname, data)
        for arcname, data in extra.items():
            wheel.writestr(zipfile.ZipInfo(arcname, date_time=(1980, 1, 1, 0, 0, 0)), data,
                           zipfile.ZIP_DEFLATED)
            record += record_line(arcname, data)
        record += f"{info}/RECORD,,\n"
        wheel.writestr(zipfile.ZipInfo(f"{info}/RECORD", date_time=(1980, 1, 1, 0, 0, 0)),
                       record, zipfile.ZIP_DEFLATED)
    return name


# The hooks pip calls.
def get_requires_for_build_wheel(config_settings=None):
    return []


def prepare_metadata_for_build_wheel(metadata_directory, config_settings=None):
    info = pathlib.Path(metadata_directory) / dist_info()
    info.mkdir(parents=True, exist_ok=True)
    (info / "METADATA").write_text(metadata())
    return info.name


def build_wheel(wheel_directory, config_settings=None, metadata_directory=None):
    return write_wheel(wheel_directory, contents(build()))
