#!/usr/bin/env python3
"""Compiles every C++ block (```cpp) of Markdown files, so that the code the documents show stays
true to the headers.

A block is a fragment: it is compiled inside a function body, after the preludes it asks for; its
#include lines move to the top. Marks in HTML comments right before a block, which Markdown does not
show, say how; see tools/README.md. Failing blocks are reported with their file and line and the
compiler's message; the exit status is 1 then, 2 for a bad command line.
"""

import argparse
import concurrent.futures
import re
import subprocess
import sys
import tempfile
from dataclasses import dataclass, field
from pathlib import Path

FLAGS = ["-std=c++17", "-fsyntax-only", "-Wall", "-Wextra", "-Wpedantic", "-Werror",
         # A fragment declares what it shows, used or not.
         "-Wno-unused"]
LANGUAGES = ("cpp", "c++")

# At any indentation, so that a block inside a list item counts too.
_FENCE = re.compile(r"^\s*(`{3,}|~{3,})(.*)$")
_MARK = re.compile(r"^\s*<!--\s*snippet:(.*)$")
_INCLUDE = re.compile(r"^\s*#\s*include\b")
_NAME = re.compile(r"^[A-Za-z][\w-]*$")


@dataclass
class Prelude:
    """Code a file's blocks may ask to have before them: includes and the names they assume."""
    name: str
    line: int  # of its first code line
    code: list


@dataclass
class Block:
    """One C++ block of a Markdown file, with what its marks say."""
    path: str
    line: int  # of the opening fence
    code: list
    preludes: list = field(default_factory=list)
    top_level: bool = False
    skip: str = ""


class DocError(Exception):
    """A fault of a Markdown file itself (a mark, a fence), located."""

    def __init__(self, path, line, message):
        super().__init__(f"{path}:{line}: {message}")


def _closes(line, fence):
    """Whether line closes the fence opened with `fence` (CommonMark: the same character, at least
    as many, nothing else on the line)."""
    stripped = line.strip()
    return stripped == fence[0] * len(stripped) and len(stripped) >= len(fence)


class _Marks:
    """The marks read since the last block, and the file's preludes."""

    def __init__(self, path):
        self.path = path
        self.preludes = {}
        self.reset()

    def reset(self):
        self.first = 0  # the line of the first pending mark; 0 when none
        self.uses = []
        self.top_level = False
        self.skip = ""

    def read(self, line_number, text, code):
        """One mark: its words after "snippet:", and the code lines of a definition (None for a
        mark on one line)."""
        words = text.split()
        keyword, rest = (words[0], words[1:]) if words else ("", [])
        if keyword == "prelude" and code is not None:
            if len(rest) != 1 or not _NAME.match(rest[0]) or not code:
                raise DocError(self.path, line_number,
                               "a prelude's definition takes one name and its code on the lines after")
            if rest[0] in self.preludes:
                raise DocError(self.path, line_number, f"prelude {rest[0]} defined twice")
            self.preludes[rest[0]] = Prelude(rest[0], line_number + 1, code)
            self.uses.append(rest[0])
        elif keyword == "prelude" and rest:
            for name in rest:
                if name not in self.preludes:
                    raise DocError(self.path, line_number, f"no prelude {name} defined before")
            self.uses.extend(rest)
        elif keyword == "skip" and rest:
            self.skip = " ".join(rest)
        elif keyword == "top-level" and not rest:
            self.top_level = True
        else:
            raise DocError(self.path, line_number,
                           f"unknown snippet mark '{text.strip()}' (expected prelude NAME, "
                           "skip REASON or top-level)")
        self.first = self.first or line_number

    def block(self, line_number, code):
        """The block opened at line_number, with the default prelude and the pending marks."""
        names = self.uses
        if "default" in self.preludes and "default" not in names:
            names = ["default"] + names
        found = Block(self.path, line_number, code, [self.preludes[name] for name in names],
                      self.top_level, self.skip)
        self.reset()
        return found

    def check_none_pending(self):
        if self.first:
            raise DocError(self.path, self.first, "snippet mark not right before a ```cpp block")


def read_blocks(path, text):
    """The C++ blocks of one Markdown text, with their marks. Raises DocError for a misplaced or
    malformed mark and for a C++ block that is never closed."""
    lines = text.split("\n")
    marks = _Marks(path)
    blocks = []
    i = 0
    while i < len(lines):
        fence = _FENCE.match(lines[i])
        mark = _MARK.match(lines[i])
        if fence and not (fence.group(1)[0] == "`" and "`" in fence.group(2)):
            end = i + 1
            while end < len(lines) and not _closes(lines[end], fence.group(1)):
                end += 1
            if (fence.group(2).split() or [""])[0].lower() in LANGUAGES:
                if end == len(lines):
                    raise DocError(path, i + 1, "C++ block never closed")
                blocks.append(marks.block(i + 1, lines[i + 1:end]))
            else:
                marks.check_none_pending()
            i = end
        elif mark:
            start = i
            while "-->" not in lines[i]:
                i += 1
                if i == len(lines):
                    raise DocError(path, start + 1, "snippet mark never closed (-->)")
            if i == start:
                marks.read(start + 1, mark.group(1).split("-->", 1)[0], None)
            else:
                tail = lines[i].split("-->", 1)[0]
                marks.read(start + 1, mark.group(1),
                           lines[start + 1:i] + ([tail] if tail.strip() else []))
        elif lines[i].strip():
            marks.check_none_pending()
        i += 1
    marks.check_none_pending()
    return blocks


def translation_unit(block):
    """The source compiled for a block: its preludes, its #include lines, then the rest of it in a
    function body (or as it is, top-level), each under a #line naming where it is written."""
    out = []

    def place(line):
        path = block.path.replace("\\", "\\\\").replace('"', '\\"')
        out.append(f'#line {line} "{path}"')

    for prelude in block.preludes:
        place(prelude.line)
        out.extend(prelude.code)
    for offset, text in enumerate(block.code):
        if _INCLUDE.match(text):
            place(block.line + 1 + offset)
            out.append(text)
    body = ["" if _INCLUDE.match(text) else text for text in block.code]
    if not block.top_level:
        out.append("void voDocSnippet() {")
    place(block.line + 1)
    out.extend(body)
    if not block.top_level:
        out.append("}")
    return "\n".join(out) + "\n"


def compile_block(block, command, folder):
    """(True, "") when the block compiles, else (False, the compiler's message)."""
    name = re.sub(r"[^\w.-]", "_", block.path)
    source = Path(folder) / f"{name}-{block.line}.cpp"
    source.write_text(translation_unit(block), encoding="utf-8")
    result = subprocess.run(command + [str(source)], capture_output=True, text=True, check=False)
    return result.returncode == 0, (result.stdout + result.stderr).rstrip()


def markdown_files(paths):
    files = []
    for given in paths:
        path = Path(given)
        if path.is_dir():
            files.extend(str(found) for found in sorted(path.rglob("*.md")))
        elif path.is_file():
            files.append(str(path))
        else:
            raise FileNotFoundError(f"{given}: no such file or folder")
    return files


def main(argv=None):
    parser = argparse.ArgumentParser(description="Compile the C++ blocks of Markdown files.")
    parser.add_argument("paths", nargs="+", help="Markdown files, or folders searched for *.md")
    parser.add_argument("--cxx", default="c++", help="the compiler (default: c++)")
    parser.add_argument("-I", dest="includes", action="append", default=[], metavar="DIR",
                        help="an include folder, as the compiler's -I")
    parser.add_argument("--jobs", type=int, default=2, help="compilers run at once (default: 2)")
    parser.add_argument("--keep", metavar="DIR",
                        help="write the generated sources into DIR and leave them there")
    args = parser.parse_args(argv)
    try:
        files = markdown_files(args.paths)
    except FileNotFoundError as error:
        parser.error(str(error))

    failures = 0
    blocks = []
    for path in files:
        try:
            blocks.extend(read_blocks(path, Path(path).read_text(encoding="utf-8")))
        except DocError as error:
            print(error)
            failures += 1
    compiled = [block for block in blocks if not block.skip]
    command = [args.cxx] + FLAGS + [f"-I{folder}" for folder in args.includes]
    with tempfile.TemporaryDirectory() as scratch:
        folder = args.keep or scratch
        Path(folder).mkdir(parents=True, exist_ok=True)
        try:
            with concurrent.futures.ThreadPoolExecutor(max(1, args.jobs)) as pool:
                results = list(pool.map(lambda block: compile_block(block, command, folder),
                                        compiled))
        except FileNotFoundError:
            parser.error(f"{args.cxx}: no such compiler")
    for block, (ok, message) in zip(compiled, results):
        if not ok:
            failures += 1
            print(f"{block.path}:{block.line}: this C++ block does not compile:\n{message}\n")

    skipped = "".join(f"; skipped {block.path}:{block.line} ({block.skip})"
                      for block in blocks if block.skip)
    print(f"{len(compiled)} C++ blocks of {', '.join(files)} compiled with {args.cxx}; "
          f"failures: {failures}{skipped}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
