"""Every public name of voshape says what it is: classes and properties a docstring, functions
and methods a signature and a description (pybind11 writes the signature; the description is
ours); and the type stub installed with the package is the one the module's signatures give,
which mypy's stubtest, when installed, finds consistent with the module."""

import inspect
import os
import pathlib
import site
import subprocess
import sys

import pytest

import voshape

PACKAGING = pathlib.Path(__file__).resolve().parents[1] / "packaging"
STUB = pathlib.Path(__file__).resolve().parents[1] / "package" / "__init__.pyi"


def public(owner):
    """(qualified name, object) of the public names owner itself defines."""
    for name, value in vars(owner).items():
        if not name.startswith("_") or name in ("__init__", "__iter__", "__next__", "__enter__",
                                                 "__exit__", "__len__", "__contains__",
                                                 "__getitem__", "__delitem__", "__eq__"):
            yield f"{getattr(owner, '__name__', 'voshape')}.{name}", value


def undocumented():
    missing = []
    for name, value in public(voshape):
        if inspect.isclass(value):
            if not (value.__doc__ or "").strip():
                missing.append(name)
            for member, attribute in public(value):
                if isinstance(attribute, property):
                    if not (attribute.__doc__ or "").strip():
                        missing.append(member)
                elif callable(attribute) and not isinstance(attribute, type):
                    doc = (getattr(attribute, "__doc__", None) or "").strip()
                    if member.endswith(".__init__") and not doc.startswith("__init__("):
                        continue  # the class is made by the module only: no constructor
                    lines = [line for line in doc.splitlines() if line.strip()]
                    if len(lines) < 2 or "(" not in lines[0]:
                        missing.append(member)
        elif callable(value) and not (value.__doc__ or "").strip():
            missing.append(name)
    return missing


def test_every_public_name_has_its_docstring():
    assert undocumented() == []


def test_the_stub_is_what_the_module_s_signatures_give():
    written = subprocess.run([sys.executable, str(PACKAGING / "make_stub.py")], check=True,
                             capture_output=True, text=True).stdout
    assert written == STUB.read_text(), "rewrite it: python/packaging/make_stub.py"
    assert (pathlib.Path(voshape.__file__).parent / "__init__.pyi").read_text() == written
    assert (pathlib.Path(voshape.__file__).parent / "py.typed").exists()


def test_stubtest_finds_the_stub_consistent_with_the_module(tmp_path):
    pytest.importorskip("mypy.stubtest")
    # Installed, mypy finds the package by its py.typed mark; in a build tree, by MYPYPATH (which
    # it refuses to hold a site-packages folder).
    found = str(pathlib.Path(voshape.__file__).resolve().parents[1])
    environment = dict(os.environ)
    if found not in map(str, map(pathlib.Path.resolve, map(pathlib.Path, site.getsitepackages()))):
        environment["MYPYPATH"] = found
    checked = subprocess.run([sys.executable, "-m", "mypy.stubtest", "voshape"], cwd=tmp_path,
                             env=environment, capture_output=True, text=True)
    assert checked.returncode == 0, checked.stdout + checked.stderr
