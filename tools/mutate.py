#!/usr/bin/env python3
"""Mutation testing of libVoshape's sources: how many small faults in a file do the tests catch?

Each mutant is built and tested in a private copy of the repository under build/mutation, one
after the other; the working tree is only read. See tools/README.md.
"""

import argparse
import bisect
import json
import os
import random
import re
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

# --------------------------------------------------------------------------------------------------
# Lexing: just enough C++ to tell code from comments, literals and preprocessor lines.

PUNCTUATORS = sorted(
    """>>= <<= <=> ->* ... :: -> .* ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= ##
    { } [ ] ( ) ; : , . ? ~ ! + - * / % ^ & | = < > #""".split(),
    key=len, reverse=True)

KEYWORDS = frozenset("""alignas alignof asm auto bool break case catch char char16_t char32_t class
    const consteval constexpr constinit const_cast continue co_await co_return co_yield decltype
    default delete do double dynamic_cast else enum explicit export extern float for friend goto if
    inline int long mutable namespace new noexcept operator private protected public register
    reinterpret_cast requires return short signed sizeof static static_assert static_cast struct
    switch template thread_local throw try typedef typeid typename union unsigned using virtual void
    volatile wchar_t while""".split())

_SPACE = re.compile(r"\s+")
_NUMBER = re.compile(r"(?:\d|\.\d)(?:[eEpP][+-]|[\w.]|'(?=\w))*")
_IDENT = re.compile(r"[A-Za-z_]\w*")
_STRING_START = re.compile(r'(?:u8|u|U|L)?R?"|(?:u8|u|U|L)?\'')
_RAW_STRING = re.compile(r'(?:u8|u|U|L)?R"([^()\\\s]{0,16})\(')


@dataclass(frozen=True)
class Token:
    kind: str  # "ident", "number", "literal" (string or character) or "punct"
    text: str
    start: int
    end: int
    line: int
    space_before: bool
    space_after: bool


def _skip_preprocessor(source, i):
    """The end of the directive starting at i, continuation lines included."""
    while True:
        newline = source.find("\n", i)
        if newline < 0:
            return len(source)
        if source[i:newline].rstrip("\r").endswith("\\"):
            i = newline + 1
            continue
        return newline


def _literal_end(source, i):
    """The end of the string or character literal starting at i."""
    raw = _RAW_STRING.match(source, i)
    if raw:
        close = source.find(")" + raw.group(1) + '"', raw.end())
        return len(source) if close < 0 else close + len(raw.group(1)) + 2
    quote_at = _STRING_START.match(source, i).end() - 1
    quote = source[quote_at]
    j = quote_at + 1
    while j < len(source) and source[j] not in (quote, "\n"):
        j += 2 if source[j] == "\\" else 1
    return min(j + 1, len(source))


def _at_line_start(source, i):
    line_start = source.rfind("\n", 0, i) + 1
    return source[line_start:i].strip() == ""


def tokenize(source):
    """The code tokens of source; comments and preprocessor directives are dropped."""
    line_starts = [0] + [m.end() for m in re.finditer("\n", source)]
    spans = []
    i = 0
    while i < len(source):
        space = _SPACE.match(source, i)
        if space:
            i = space.end()
            continue
        if source.startswith("//", i):
            end = source.find("\n", i)
            i = len(source) if end < 0 else end
            continue
        if source.startswith("/*", i):
            end = source.find("*/", i + 2)
            i = len(source) if end < 0 else end + 2
            continue
        if source[i] == "#" and _at_line_start(source, i):
            i = _skip_preprocessor(source, i)
            continue
        number, ident = _NUMBER.match(source, i), _IDENT.match(source, i)
        if _STRING_START.match(source, i):
            kind, end = "literal", _literal_end(source, i)
        elif number or ident:
            kind, end = ("number", number.end()) if number else ("ident", ident.end())
        else:
            punct = next((p for p in PUNCTUATORS if source.startswith(p, i)), source[i])
            kind, end = "punct", i + len(punct)
        spans.append((kind, i, end))
        i = end
    return [
        Token(kind, source[start:end], start, end, bisect.bisect_right(line_starts, start),
              start == 0 or source[start - 1].isspace(),
              end == len(source) or source[end].isspace())
        for kind, start, end in spans
    ]


# --------------------------------------------------------------------------------------------------
# Context: which tokens are no operators (template brackets, operator names) and which braces open
# code.

# Tokens that cannot appear between template angle brackets outside parentheses: meeting one means
# the "<" was a comparison.
_NOT_IN_TEMPLATE = frozenset(
    "; { } && || ? == != <= >= = += -= *= /= %= &= |= ^= <<= >>=".split())
_TEMPLATE_SCAN_LIMIT = 256


def _template_close(tokens, i):
    """Index of the token closing the template argument list opened at i, or None."""
    depth, parens = 1, 0
    after_template_keyword = i > 0 and tokens[i - 1].text == "template"
    for j in range(i + 1, min(len(tokens), i + _TEMPLATE_SCAN_LIMIT)):
        text = tokens[j].text
        if text in ("(", "["):
            parens += 1
        elif text in (")", "]"):
            if parens == 0:
                return None
            parens -= 1
        elif parens > 0:
            if text in (";", "{", "}"):
                return None
        elif text == "<":
            depth += 1
        elif text in (">", ">>"):
            depth -= len(text)
            if depth <= 0:
                return j
        elif text in _NOT_IN_TEMPLATE and not (after_template_keyword and text == "="):
            return None
    return None


def _operator_name_tokens(tokens, i):
    """Indices of the tokens naming the operator declared at i (the "operator" keyword)."""
    names = []
    j = i + 1
    if j + 1 < len(tokens) and tokens[j].text == "(" and tokens[j + 1].text == ")":
        return [j, j + 1]
    while j < len(tokens) and tokens[j].text != "(":
        names.append(j)
        j += 1
    return names


def _static_assert_tokens(tokens, i):
    """Indices of the tokens inside the static_assert at i: compile-time checks, whose mutants fail
    to build or change nothing that runs."""
    if i + 1 >= len(tokens) or tokens[i + 1].text != "(":
        return []
    close = matching_bracket(tokens, i + 1)
    return range(i + 1, len(tokens) if close is None else close + 1)


def excluded_tokens(tokens):
    """Indices of tokens that look like operators or values but are not to be mutated: template
    brackets, the names of declared operators and the insides of static assertions."""
    skipped = set()
    for i, token in enumerate(tokens):
        if token.text == "operator":
            skipped.update(_operator_name_tokens(tokens, i))
        elif token.text == "static_assert":
            skipped.update(_static_assert_tokens(tokens, i))
        elif (token.text == "<" and i not in skipped and i > 0
              and tokens[i - 1].kind == "ident"):
            close = _template_close(tokens, i)
            if close is not None:
                skipped.update((i, close))
    return skipped


def matching_bracket(tokens, i):
    """Index of the bracket closing the "(" or "[" at i, or None."""
    opener = tokens[i].text
    closer = {"(": ")", "[": "]"}[opener]
    depth = 0
    for j in range(i, len(tokens)):
        if tokens[j].text == opener:
            depth += 1
        elif tokens[j].text == closer:
            depth -= 1
            if depth == 0:
                return j
    return None


_TYPE_OPENERS = frozenset({"namespace", "class", "struct", "union", "enum", "extern"})
_BODY_AFTER = frozenset({")", "]", "else", "do", "try", "const", "noexcept", "override", "final",
                         "mutable"})


def _segment_start(tokens, i):
    """Index of the first token of the declaration or statement that token i belongs to."""
    j = i
    while j > 0 and tokens[j - 1].text not in (";", "{", "}"):
        j -= 1
    return j


def _is_label_colon(tokens, i):
    segment = tokens[_segment_start(tokens, i):i]
    return bool(segment) and (segment[0].text in ("case", "default")
                              or (len(segment) == 1 and segment[0].kind == "ident"))


def _without_template_header(segment):
    if len(segment) < 2 or segment[0].text != "template" or segment[1].text != "<":
        return segment
    depth = 0
    for j in range(1, len(segment)):
        text = segment[j].text
        if text == "<":
            depth += 1
        elif text in (">", ">>"):
            depth -= len(text)
            if depth <= 0:
                return segment[j + 1:]
    return segment


def _opens_code(tokens, i, in_code):
    """Whether the "{" at i opens a block of statements rather than a class, a namespace or an
    initializer."""
    head = _without_template_header(tokens[_segment_start(tokens, i):i])
    # "inline namespace", "enum class", "extern "C"": the opener comes first or second.
    if any(t.text in _TYPE_OPENERS for t in head[:2]):
        return False
    if i == 0:
        return False
    before = tokens[i - 1]
    if before.text in _BODY_AFTER:
        return True
    if before.text in (";", "{", "}"):
        return in_code
    return before.text == ":" and in_code and _is_label_colon(tokens, i - 1)


def in_function_body(tokens):
    """For each token, whether it lies directly or indirectly within a function body."""
    stack = [False]
    inside = []
    for i, token in enumerate(tokens):
        inside.append(stack[-1])
        if token.text == "{":
            stack.append(_opens_code(tokens, i, stack[-1]))
        elif token.text == "}" and len(stack) > 1:
            stack.pop()
    return inside


# --------------------------------------------------------------------------------------------------
# Mutation sites.

RELATIONAL = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
ARITHMETIC = {"+": "-", "-": "+", "+=": "-=", "-=": "+=", "++": "--", "--": "++", "*=": "/="}
BOOLEAN = {"||": "&&", "true": "false", "false": "true", "!": ""}
# Also a pointer declarator, a dereference or an rvalue reference unless used as a binary operator.
BINARY_ONLY = {"*": ("arithmetic", "/"), "&&": ("boolean", "||")}
ASSIGNMENTS = frozenset("= += -= *= /= %= &= |= ^= <<= >>=".split())
# What may precede "= 0;" for it to be a pure specifier rather than an assignment.
_PURE_SPECIFIER_AFTER = frozenset({")", "const", "override", "final", "noexcept"})
DELETED = "(deleted)"

_INTEGER = re.compile(r"(0[xX][\da-fA-F']+|0[bB][01']+|\d[\d']*)([uUlLzZ]*)")
_DECIMAL = re.compile(r"(\d*)\.(\d*)([fFlL]?)")


@dataclass(frozen=True)
class Mutation:
    path: str
    line: int
    start: int
    end: int
    replacement: str
    operator: str  # relational, arithmetic, boolean, constant or statement
    original: str  # the source line, whitespace collapsed
    mutated: str  # the mutated line, whitespace collapsed, or DELETED

    def describe(self):
        """The text form a developer reads and lists when judging the mutant equivalent."""
        return f"{self.path}:{self.line}: {self.original} -> {self.mutated}"

    def apply(self, source):
        return source[:self.start] + self.replacement + source[self.end:]


def _flip(value):
    return {0: 1, 1: 0}.get(value, value + 1)


def flipped_constant(text):
    """The literal with 0 and 1 swapped and any other value n made n + 1, or None for literals left
    alone (exponents, hexadecimal floats, user-defined suffixes)."""
    integer = _INTEGER.fullmatch(text)
    if integer:
        digits, suffix = integer.group(1).replace("'", ""), integer.group(2)
        prefix = digits[:2].lower()
        if prefix == "0x":
            spelled = format(_flip(int(digits[2:], 16)), "X" if digits[2:].isupper() else "x")
            return digits[:2] + spelled + suffix
        if prefix == "0b":
            return digits[:2] + format(_flip(int(digits[2:], 2)), "b") + suffix
        if len(digits) > 1 and digits[0] == "0":
            return "0" + format(_flip(int(digits, 8)), "o") + suffix
        return str(_flip(int(digits))) + suffix
    decimal = _DECIMAL.fullmatch(text)
    if decimal and decimal.group(1) + decimal.group(2):
        whole, fraction, suffix = decimal.groups()
        value = int(whole or "0")
        if fraction.strip("0"):
            value += 1
        else:
            value = _flip(value)
        return f"{value}.{fraction}{suffix}"
    return None


def _is_operand_end(token):
    if token.kind == "ident":
        return token.text not in KEYWORDS
    return token.kind in ("number", "literal") or token.text in (")", "]")


def _is_binary(tokens, i):
    """Written as clang-format writes a binary operator: spaced on both sides, after an operand."""
    token = tokens[i]
    return token.space_before and token.space_after and i > 0 and _is_operand_end(tokens[i - 1])


def _is_pure_specifier(tokens, i):
    return (tokens[i].text == "0" and 1 < i < len(tokens) - 1 and tokens[i + 1].text == ";"
            and tokens[i - 1].text == "=" and tokens[i - 2].text in _PURE_SPECIFIER_AFTER)


def token_mutation(tokens, i):
    """(operator, replacement) for the token at i, or None."""
    text = tokens[i].text
    if tokens[i].kind == "number":
        flipped = None if _is_pure_specifier(tokens, i) else flipped_constant(text)
        return ("constant", flipped) if flipped else None
    for operator, table in (("relational", RELATIONAL), ("arithmetic", ARITHMETIC),
                            ("boolean", BOOLEAN)):
        if text in table:
            return operator, table[text]
    if text in BINARY_ONLY and _is_binary(tokens, i):
        return BINARY_ONLY[text]
    return None


def _is_simple_statement(tokens, s, e):
    """Whether tokens[s:e] (the ";" at e left out) are a call, an assignment or an increment, as
    opposed to a declaration, a return, a jump or a cast to void."""
    prefix = tokens[s].text if tokens[s].text in ("++", "--", "*") else None
    j = s + (prefix is not None)
    if j >= e or tokens[j].kind != "ident" or tokens[j].text in KEYWORDS:
        return False
    j += 1
    called = False
    while j < e:
        text = tokens[j].text
        if text in ("::", ".", "->") and j + 1 < e and tokens[j + 1].kind == "ident":
            j, called = j + 2, False
        elif text in ("(", "["):
            close = matching_bracket(tokens, j)
            if close is None or close >= e:
                return False
            j, called = close + 1, text == "("
        else:
            break
    rest = [t.text for t in tokens[j:e]]
    if prefix in ("++", "--"):
        return not rest
    if prefix == "*":
        return bool(rest) and rest[0] in ASSIGNMENTS
    if not rest:
        return called
    return rest in (["++"], ["--"]) or rest[0] in ASSIGNMENTS


def _statement_end(tokens, s):
    """Index of the first ";", "{" or "}" from s on."""
    return next((j for j in range(s, len(tokens)) if tokens[j].text in (";", "{", "}")), None)


def deletable_statements(tokens):
    """(first, last) token indices of the statements that stand alone on their line in a function
    body and may be deleted."""
    inside = in_function_body(tokens)
    for s in range(1, len(tokens)):
        line = tokens[s].line
        before = tokens[s - 1]
        if not inside[s] or before.line == line:
            continue
        starts_statement = before.text in (";", "{", "}") or (
            before.text == ":" and _is_label_colon(tokens, s - 1))
        if not starts_statement:
            continue
        e = _statement_end(tokens, s)
        if e is None or tokens[e].text != ";" or tokens[e].line != line:
            continue
        if e + 1 < len(tokens) and tokens[e + 1].line == line:
            continue
        if _is_simple_statement(tokens, s, e):
            yield s, e


def _line_of(source, offset):
    start = source.rfind("\n", 0, offset) + 1
    end = source.find("\n", offset)
    return start, len(source) if end < 0 else end


def _mutation(path, source, token_line, start, end, replacement, operator):
    line_start, line_end = _line_of(source, start)
    line = source[line_start:line_end]
    mutated = line[:start - line_start] + replacement + line[end - line_start:]
    return Mutation(path, token_line, start, end, replacement, operator, " ".join(line.split()),
                    DELETED if operator == "statement" else " ".join(mutated.split()))


def find_mutations(path, source):
    """Every candidate mutation of the C++ source, in source order."""
    tokens = tokenize(source)
    excluded = excluded_tokens(tokens)
    mutations = []
    for i, token in enumerate(tokens):
        found = None if i in excluded else token_mutation(tokens, i)
        if found:
            mutations.append(_mutation(path, source, token.line, token.start, token.end,
                                       found[1], found[0]))
    for s, e in deletable_statements(tokens):
        mutations.append(_mutation(path, source, tokens[s].line, tokens[s].start, tokens[e].end,
                                   "", "statement"))
    return sorted(mutations, key=lambda m: (m.start, m.end))


def sample(mutations, count, seed, path):
    """A uniform sample of count mutations, the same for the same seed and file whatever the other
    files are, in source order."""
    chosen = random.Random(f"{seed}:{path}").sample(mutations, min(count, len(mutations)))
    return sorted(chosen, key=lambda m: (m.start, m.end))


# --------------------------------------------------------------------------------------------------
# The private copy: sources, build directory, builds and test runs.

# Where --changed looks: the library, its public headers, the foundation, the host and the examples.
SOURCE_DIRS = ("toolbox/", "include/", "foundation/", "host/", "examples/")
SOURCE_SUFFIXES = (".cpp", ".h")
DEFAULT_TARGETS = ("vo_tests",)
DEFAULT_TEST_COMMAND = "tests/vo_tests --gtest_brief=1 --gtest_fail_fast"
TIMEOUT_FACTOR = 10
MIN_TIMEOUT = 2.0


class ToolError(Exception):
    """A failure that stops the run, with the message to print."""


def _git(repo, *args):
    result = subprocess.run(["git", "-C", str(repo), *args], capture_output=True)
    if result.returncode != 0:
        raise ToolError(f"git {' '.join(args)}: {result.stderr.decode(errors='replace').strip()}")
    return result.stdout


def changed_files(repo, revision):
    """The .cpp and .h files of the library, foundation, host and examples that differ between
    revision and the working tree, deleted ones left out."""
    names = _git(repo, "diff", "--name-only", "--diff-filter=d", "-z", revision, "--")
    return select_sources(name for name in names.decode().split("\0") if name)


def select_sources(paths):
    return sorted(p for p in paths if p.startswith(SOURCE_DIRS) and p.endswith(SOURCE_SUFFIXES))


def _tail(path, lines=40):
    text = Path(path).read_text(errors="replace").splitlines()
    return "\n".join(text[-lines:])


class Workspace:
    """A copy of the working tree's files under root/src, built in root/build. Owned by this tool
    alone: the working tree is only read, so that others can keep building in it."""

    def __init__(self, repo, root, jobs):
        self.repo = Path(repo)
        self.src = Path(root) / "src"
        self.build = Path(root) / "build"
        self.log = Path(root) / "last.log"
        self.jobs = jobs

    def sync(self, extra=()):
        """Makes the copy hold the working tree's current content of the tracked files and of the
        untracked ones git does not ignore (the globs of a build in the working tree pick up a new
        source before it is added), and of the extra ones; other files leave it. A file left
        mutated by an interrupted run is restored."""
        listed = _git(self.repo, "ls-files", "-z", "--cached", "--others",
                      "--exclude-standard").decode().split("\0")
        wanted = {name for name in (*listed, *extra) if name and (self.repo / name).is_file()}
        for name in wanted:
            self._copy(name)
        if self.src.is_dir():
            for path in self.src.rglob("*"):
                if path.is_file() and path.relative_to(self.src).as_posix() not in wanted:
                    path.unlink()

    def _copy(self, name):
        source, target = self.repo / name, self.src / name
        data = source.read_bytes()
        if target.is_file() and target.read_bytes() == data:
            return
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data)
        target.chmod(source.stat().st_mode & 0o777)

    def configure(self, examples, checks=False):
        """Configures the build directory when it is new or its options differ. Warnings are not
        errors here: a mutant that leaves a variable unused still builds. With checks, the debug
        checks are built in, so that their tests run instead of skipping."""
        options = {
            "CMAKE_CXX_COMPILER": "g++",
            "CMAKE_BUILD_TYPE": "RelWithDebInfo",
            "VOSHAPE_WERROR": "OFF",
            "VOSHAPE_BUILD_TESTS": "ON",
            "VOSHAPE_BUILD_EXAMPLES": "ON" if examples else "OFF",
            "VOSHAPE_CHECKS": "ON" if checks else "OFF",
        }
        if self._configured_with(options):
            return
        command = ["cmake", "-S", str(self.src), "-B", str(self.build), "-G", "Ninja",
                   *(f"-D{key}={value}" for key, value in options.items())]
        if self._run_logged(command) != 0:
            raise ToolError(f"configuring the copy failed:\n{_tail(self.log)}")

    def _configured_with(self, options):
        cache = self.build / "CMakeCache.txt"
        if not (self.build / "build.ninja").is_file() or not cache.is_file():
            return False
        entries = dict(re.findall(r"^(\w+):\w+=(.*)$", cache.read_text(), re.MULTILINE))
        return all(entries.get(key) == value for key, value in options.items())

    def _run_logged(self, command, shell=False, timeout=None):
        """Runs command in the build directory, output to the log; its exit status, or None when
        it ran out of time (its whole process group is killed then)."""
        self.build.mkdir(parents=True, exist_ok=True)
        with open(self.log, "wb") as log:
            process = subprocess.Popen(command, shell=shell, cwd=self.build, stdout=log,
                                       stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                                       start_new_session=True)
            try:
                return process.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                return None
            finally:
                # Also on Ctrl-C: a test left running would hold the copy's build.
                if process.poll() is None:
                    os.killpg(process.pid, signal.SIGKILL)
                    process.wait()

    def build_targets(self, targets):
        """Whether the targets build."""
        return self._run_logged(["ninja", "-C", str(self.build), f"-j{self.jobs}", *targets]) == 0

    def run_tests(self, command, timeout):
        """"passed", "failed" or "timeout"."""
        status = self._run_logged(command, shell=True, timeout=timeout)
        if status is None:
            return "timeout"
        return "passed" if status == 0 else "failed"


# --------------------------------------------------------------------------------------------------
# Running mutants and reporting.

KILLED, TIMEOUT, SURVIVED, EQUIVALENT, COMPILE_ERROR = (
    "killed", "timeout", "survived", "equivalent", "compile error")


@dataclass(frozen=True)
class Result:
    mutation: Mutation
    outcome: str
    build_seconds: float
    test_seconds: float


def read_source(path):
    """The file's text, undecodable bytes kept so that writing it back restores it exactly."""
    return Path(path).read_bytes().decode("utf-8", errors="surrogateescape")


def plan(root, files, per_file, seed):
    """{file: its sampled mutations} for the files as they are under root."""
    return {path: sample(find_mutations(path, read_source(Path(root) / path)), per_file, seed, path)
            for path in files}


def _try_mutant(workspace, mutation, targets, test_command, timeout):
    started = time.monotonic()
    built = workspace.build_targets(targets)
    build_seconds = time.monotonic() - started
    if not built:
        return Result(mutation, COMPILE_ERROR, build_seconds, 0.0)
    started = time.monotonic()
    status = workspace.run_tests(test_command, timeout)
    outcome = {"passed": SURVIVED, "failed": KILLED, "timeout": TIMEOUT}[status]
    return Result(mutation, outcome, build_seconds, time.monotonic() - started)


def run_mutants(workspace, path, mutations, targets, test_command, timeout, report=print):
    """Builds and tests each mutation of path in turn, one at a time; the copy's file is restored
    after each, also when the run is interrupted."""
    file = workspace.src / path
    original = file.read_bytes()
    text = original.decode("utf-8", errors="surrogateescape")
    results = []
    for number, mutation in enumerate(mutations, 1):
        file.write_bytes(mutation.apply(text).encode("utf-8", errors="surrogateescape"))
        try:
            result = _try_mutant(workspace, mutation, targets, test_command, timeout)
        finally:
            file.write_bytes(original)
        results.append(result)
        counter = f"[{number:>{len(str(len(mutations)))}}/{len(mutations)}]"
        report(f"{counter} {result.outcome:<13} build {result.build_seconds:5.1f} s  tests "
               f"{result.test_seconds:5.1f} s  {mutation.describe()}", flush=True)
    return results


def normalize(text):
    return " ".join(text.split())


def read_equivalents(text):
    """The text forms listed in an equivalents file: one a line, "#" comment lines and blank lines
    ignored, whitespace runs not significant."""
    return {normalize(line) for line in text.splitlines()
            if line.strip() and not line.lstrip().startswith("#")}


def judge(results, equivalents):
    """The results with each survivor listed as equivalent marked so."""
    return [Result(r.mutation, EQUIVALENT, r.build_seconds, r.test_seconds)
            if r.outcome == SURVIVED and normalize(r.mutation.describe()) in equivalents else r
            for r in results]


@dataclass(frozen=True)
class Summary:
    path: str
    tried: int
    compiled: int
    killed: int
    survived: int
    equivalent: int

    @property
    def score(self):
        """Killed over compiled, equivalent mutants left out; None with nothing to score."""
        scored = self.compiled - self.equivalent
        return self.killed / scored if scored else None


def summarize(path, results):
    def count(*outcomes):
        return sum(r.outcome in outcomes for r in results)
    return Summary(path, len(results), len(results) - count(COMPILE_ERROR), count(KILLED, TIMEOUT),
                   count(SURVIVED), count(EQUIVALENT))


def _score_text(score):
    return "n/a" if score is None else f"{100 * score:.1f}%"


def format_report(summaries, results):
    """The score table, then the survivors in their text form."""
    width = max([len("file")] + [len(s.path) for s in summaries])
    columns = ("tried", "compiled", "killed", "survived", "equivalent", "score")
    widths = [max(len(c), 6) for c in columns]
    lines = [f"{'file':<{width}}  " + "  ".join(f"{c:>{w}}" for c, w in zip(columns, widths))]
    rows = list(summaries)
    if len(summaries) > 1:
        counts = ("tried", "compiled", "killed", "survived", "equivalent")
        rows.append(Summary("all files", *(sum(getattr(s, c) for s in summaries) for c in counts)))
    for s in rows:
        values = (s.tried, s.compiled, s.killed, s.survived, s.equivalent, _score_text(s.score))
        lines.append(f"{s.path:<{width}}  " +
                     "  ".join(f"{v:>{w}}" for v, w in zip(values, widths)))
    survivors = [r.mutation.describe() for r in results if r.outcome == SURVIVED]
    if survivors:
        lines += ["", "Survivors (list the equivalent ones in a file for --equivalent):",
                  *survivors]
    return "\n".join(lines)


def _timing_line(results):
    if not results:
        return "no mutant was run"
    build = sum(r.build_seconds for r in results)
    tests = sum(r.test_seconds for r in results)
    n = len(results)
    return (f"{n} mutants in {build + tests:.0f} s: {(build + tests) / n:.1f} s per mutant "
            f"(build {build / n:.1f} s, tests {tests / n:.1f} s)")


def to_json(args, summaries, results_by_file, baseline, timeout):
    return {
        "seed": args.seed,
        "per_file": args.per_file,
        "targets": args.targets,
        "test_command": args.test_cmd,
        "timeout_seconds": round(timeout, 2),
        "baseline": baseline,
        "files": [dict(path=s.path, tried=s.tried, compiled=s.compiled, killed=s.killed,
                       survived=s.survived, equivalent=s.equivalent, score=s.score,
                       mutants=[dict(line=r.mutation.line, operator=r.mutation.operator,
                                     original=r.mutation.original, mutated=r.mutation.mutated,
                                     text=r.mutation.describe(), outcome=r.outcome,
                                     build_seconds=round(r.build_seconds, 2),
                                     test_seconds=round(r.test_seconds, 2))
                                for r in results_by_file[s.path]])
                  for s in summaries],
    }


def parse_args(argv):
    parser = argparse.ArgumentParser(
        description="Mutation testing: how many small faults in the given files do the tests "
                    "catch? Mutants run one at a time in a private copy under build/mutation.")
    parser.add_argument("files", nargs="*", help="source files, relative to the repository root")
    parser.add_argument("--changed", metavar="REV",
                        help="also the .cpp/.h files of the library, foundation, host and examples "
                             "changed since REV (working tree included)")
    parser.add_argument("--per-file", type=int, default=15, metavar="N",
                        help="mutants sampled per file (default 15)")
    parser.add_argument("--seed", type=int, default=1, help="sampling seed (default 1)")
    parser.add_argument("--test-cmd", default=DEFAULT_TEST_COMMAND, metavar="CMD",
                        help="shell command run in the build directory; a non-zero exit kills the "
                             f"mutant (default: {DEFAULT_TEST_COMMAND})")
    parser.add_argument("--target", dest="targets", action="append", metavar="TARGET",
                        help="ninja target the tests need; repeatable (default: vo_tests)")
    parser.add_argument("--checks", action="store_true",
                        help="build with the debug checks (VOSHAPE_CHECKS), for mutants in what "
                             "they check and in the checks themselves")
    parser.add_argument("--examples", action="store_true",
                        help="build the examples, for a --test-cmd that runs their tests; without "
                             "it, files under examples/ are skipped")
    parser.add_argument("--timeout", type=float, metavar="SECONDS",
                        help=f"per test run; a run that takes longer kills the mutant (default: "
                             f"{TIMEOUT_FACTOR}x the unmutated run, at least {MIN_TIMEOUT:g} s)")
    parser.add_argument("--equivalent", metavar="FILE",
                        help="survivors judged equivalent, one text form a line, left out of "
                             "the score")
    parser.add_argument("--json", metavar="FILE", help="also write the results to FILE")
    parser.add_argument("--list", action="store_true",
                        help="print the sampled mutants and stop, building nothing")
    parser.add_argument("--workdir", metavar="DIR",
                        help="the private copy and its build (default: build/mutation)")
    parser.add_argument("--jobs", type=int, default=2, help="ninja -j (default 2)")
    args = parser.parse_args(argv)
    if not args.files and not args.changed:
        parser.error("name source files or give --changed REV")
    if args.per_file < 1:
        parser.error("--per-file must be at least 1")
    args.targets = args.targets or list(DEFAULT_TARGETS)
    return args


def _chosen_files(args, repo):
    files = list(dict.fromkeys([*args.files, *(changed_files(repo, args.changed) if args.changed
                                                else [])]))
    for path in files:
        if not (repo / path).is_file():
            raise ToolError(f"{path}: no such file in {repo}")
    if args.examples:
        return files
    skipped = [p for p in files if p.startswith("examples/")]
    for path in skipped:
        print(f"{path}: skipped, the examples are not built (see --examples)", file=sys.stderr)
    return [p for p in files if p not in skipped]


def _baseline(workspace, args):
    """Builds and tests the unmutated copy; its build and test times. Stops when either fails: a
    mutant is only killed by tests that pass without it."""
    started = time.monotonic()
    if not workspace.build_targets(args.targets):
        raise ToolError(f"the unmutated copy does not build ({' '.join(args.targets)}):\n"
                        f"{_tail(workspace.log)}")
    build_seconds = time.monotonic() - started
    started = time.monotonic()
    status = workspace.run_tests(args.test_cmd, args.timeout)
    if status != "passed":
        raise ToolError(f"the tests do not pass on the unmutated copy ({status}: "
                        f"{args.test_cmd}):\n{_tail(workspace.log)}\n"
                        "The copy is the working tree as it was at the start; if someone was "
                        "midway through a change, run again.")
    return {"build_seconds": round(build_seconds, 2),
            "test_seconds": round(time.monotonic() - started, 2)}


def _run(args, repo):
    files = _chosen_files(args, repo)
    if not files:
        print("no source file to mutate")
        return 0
    equivalents = read_equivalents(Path(args.equivalent).read_text()) if args.equivalent else set()
    if args.list:
        for path, mutations in plan(repo, files, args.per_file, args.seed).items():
            for mutation in mutations:
                print(f"{mutation.operator:<10}  {mutation.describe()}")
        return 0
    workspace = Workspace(repo, Path(args.workdir or repo / "build" / "mutation").resolve(),
                          args.jobs)
    print(f"copying the working tree to {workspace.src}", flush=True)
    workspace.sync(extra=files)
    workspace.configure(args.examples, args.checks)
    baseline = _baseline(workspace, args)
    timeout = args.timeout or max(TIMEOUT_FACTOR * baseline["test_seconds"], MIN_TIMEOUT)
    print(f"unmutated copy: build {baseline['build_seconds']:.1f} s, tests "
          f"{baseline['test_seconds']:.1f} s; timeout per test run {timeout:.1f} s", flush=True)
    results = {}
    for path, mutations in plan(workspace.src, files, args.per_file, args.seed).items():
        run = run_mutants(workspace, path, mutations, args.targets, args.test_cmd, timeout)
        results[path] = judge(run, equivalents)
    summaries = [summarize(path, run) for path, run in results.items()]
    every = [r for run in results.values() for r in run]
    print()
    print(format_report(summaries, every))
    print()
    print(_timing_line(every))
    if args.json:
        Path(args.json).write_text(
            json.dumps(to_json(args, summaries, results, baseline, timeout), indent=2) + "\n")
    return 0


def main(argv=None):
    args = parse_args(argv)
    repo = Path(__file__).resolve().parent.parent
    try:
        return _run(args, repo)
    except ToolError as error:
        print(f"mutate.py: {error}", file=sys.stderr)
        return 2
    except KeyboardInterrupt:
        print("mutate.py: interrupted; the copy's file was restored", file=sys.stderr)
        return 130


if __name__ == "__main__":
    sys.exit(main())
