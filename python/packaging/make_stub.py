"""Writes the type stub of the package voshape (python/package/__init__.pyi) from the compiled
module's own signatures, which pybind11 puts first in every function's docstring:

    PYTHONPATH=build/dev/python python3 python/packaging/make_stub.py > python/package/__init__.pyi

The test suite checks that the stub in the tree is what this writes, and mypy's stubtest (when
installed) that it matches the module.
"""

import inspect
import re
import sys

import voshape
from voshape import _voshape

HEADER = '''"""Type stub of voshape, written by python/packaging/make_stub.py from the compiled
module's signatures: rewrite it with that script, do not edit it."""

from typing import Any, Dict, Iterator, List, Optional, Tuple

__version__: str

class _pybind11_type(type):
    """The metaclass of the module's classes."""
'''
TYPES = [(r"\bVoPython::Py(\w+)", r"\1"), (r"\bvoshape\.(_voshape\.)?", ""), (r"\bhandle\b", "Any"), (r"\bargs\b", "Any"),
         (r"::", "."), (r"\bnumpy\.ndarray\b", "Any")]
# The dunders a class may define that the stub shows.
DUNDERS = {"__init__", "__iter__", "__next__", "__enter__", "__exit__", "__len__",
           "__contains__", "__getitem__", "__delitem__", "__eq__", "__hash__", "__repr__",
           "__str__", "__int__", "__index__", "__getstate__", "__setstate__"}


def typed(text):
    for pattern, replacement in TYPES:
        text = re.sub(pattern, replacement, text)
    return text


def split(parameters):
    """Top-level commas only: types such as Tuple[int, int] hold some."""
    parts, depth, current = [], 0, ""
    for character in parameters:
        depth += character in "[(" and 1 or (character in "])" and -1 or 0)
        if character == "," and depth == 0:
            parts.append(current.strip())
            current = ""
        else:
            current += character
    return parts + ([current.strip()] if current.strip() else [])


def signature(function, name, method):
    """The stub line of a function from the first line of its docstring."""
    first = (function.__doc__ or "").strip().splitlines()[0]
    found = re.fullmatch(r"\w+\((.*)\) -> (.+)", first)
    parameters, result = found.group(1), found.group(2)
    shown = []
    for at, parameter in enumerate(split(parameters)):
        if method and at == 0:
            shown.append("self")
            continue
        if parameter in ("*", "*args", "**kwargs"):
            shown.append(parameter + (": Any" if parameter != "*" else ""))
            continue
        parameter = re.sub(r"^arg(\d+)", r"__arg\1", parameter)
        head, _, default = parameter.partition(" = ")
        shown.append(typed(head) + (" = ..." if default else ""))
    result = "bool" if name == "__eq__" else typed(result)  # NotImplemented aside
    return f"def {name}({', '.join(shown)}) -> {result}: ..."


def property_lines(name, value):
    getter = value.fget
    result = "Any"
    if getter is not None and getter.__doc__:
        found = re.match(r".*\) -> (.+)", getter.__doc__.strip().splitlines()[0])
        result = typed(found.group(1)) if found else "Any"
    lines = ["@property", f"def {name}(self) -> {result}: ..."]
    if value.fset is not None:
        lines += [f"@{name}.setter", f"def {name}(self, value: Any) -> None: ..."]
    return lines


def class_lines(cls, indent="", outer=""):
    bases = [base.__name__ for base in cls.__bases__
             if base.__name__ not in ("object", "pybind11_object")]
    bases.append("metaclass=_pybind11_type")
    lines = [f"{indent}class {cls.__name__}({', '.join(bases)}):"]
    body = []
    if not (getattr(vars(cls).get("__init__"), "__doc__", None) or "").startswith("__init__("):
        # Made by the module only: calling the class raises TypeError.
        body.append(indent + "    def __init__(self, *args: Any, **kwargs: Any) -> None: ...")
    if "__members__" in dir(cls):
        body.append(f"{indent}    __members__: Dict[str, {outer}{cls.__name__}]")
    for name, value in vars(cls).items():
        if name.startswith("_") and name not in DUNDERS:
            continue
        if inspect.isclass(value):
            body += class_lines(value, indent + "    ", outer + cls.__name__ + ".")
        elif isinstance(value, property):
            body += [indent + "    " + line for line in property_lines(name, value)]
        elif isinstance(value, staticmethod) or type(value).__name__ == "builtin_function_or_method":
            function = getattr(cls, name)
            body += [indent + "    @staticmethod",
                     indent + "    " + signature(function, name, method=False)]
        elif callable(value) and (value.__doc__ or "").strip().startswith(name + "("):
            body.append(indent + "    " + signature(value, name, method=True))
        elif isinstance(value, cls):  # an enumeration's member
            body.append(f"{indent}    {name}: {outer}{cls.__name__}")
        elif not callable(value) and not name.startswith("_"):
            body.append(f"{indent}    {name}: {type(value).__name__}")
    return lines + (body or [indent + "    ..."])


def exception_lines(cls):
    bases = ", ".join(base.__name__ for base in cls.__bases__)
    return [f"class {cls.__name__}({bases}): ..."]


def main():
    out = [HEADER]
    for name in sorted(vars(_voshape)):
        value = getattr(_voshape, name)
        if name.startswith("_"):
            continue
        if inspect.isclass(value) and issubclass(value, BaseException):
            out += exception_lines(value) + [""]
        elif inspect.isclass(value):
            out += class_lines(value) + [""]
        else:
            out += [f"{name}: {type(value).__name__}", ""]
    sys.stdout.write("\n".join(out).rstrip() + "\n")


if __name__ == "__main__":
    assert voshape._voshape is _voshape
    main()
