"""Self-test of mutate.py; from the repository root: python3 -m unittest discover tools"""

import subprocess
import sys
import tempfile
import textwrap
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import mutate  # noqa: E402


def sites(source):
    """(line, operator, mutated line) of every mutation found in source."""
    return [(m.line, m.operator, m.mutated) for m in mutate.find_mutations("f.cpp", source)]


def deleted_lines(source):
    return [m.line for m in mutate.find_mutations("f.cpp", source) if m.operator == "statement"]


SNIPPET = textwrap.dedent("""\
    #include <vector>
    #define SMALLER(a, b) ((a) < (b) ? (a) : (b))
    // a comment: count < 1 && done == true
    /* total++; */
    namespace shapes {
    template <class T> struct Box {
        T value;
        bool operator<(const Box &other) const;
        virtual void draw() const = 0;
    };
    int sum(const std::vector<Box<int>> &boxes, Box<int> *first, int &&limit) {
        const char *label = "a <= b || !c";
        std::cout << label << first->value << '<';
        int total = 0;
        for (int i = 0; i < limit; ++i) {
            total += boxes[i].value * 2;
        }
        if (total >= limit && !done) {
            report(total);
        }
        total--;
        ready = total <= limit - 4;
        ready = ready != true;
        return total > 1 || flag == false;
    }
    }
    """)


class SitesTest(unittest.TestCase):
    def test_snippet_yields_each_operator_and_skips_the_rest(self):
        # Nothing from the include, the macro, the comments, the string and character literals,
        # the template brackets, the stream operators, "->", the declared operator, the pointer and
        # rvalue-reference declarators or the pure specifier.
        expected = [
            (14, "constant", "int total = 1;"),
            (15, "constant", "for (int i = 1; i < limit; ++i) {"),
            (15, "relational", "for (int i = 0; i <= limit; ++i) {"),
            (15, "arithmetic", "for (int i = 0; i < limit; --i) {"),
            (16, "statement", mutate.DELETED),
            (16, "arithmetic", "total -= boxes[i].value * 2;"),
            (16, "arithmetic", "total += boxes[i].value / 2;"),
            (16, "constant", "total += boxes[i].value * 3;"),
            (18, "relational", "if (total > limit && !done) {"),
            (18, "boolean", "if (total >= limit || !done) {"),
            (18, "boolean", "if (total >= limit && done) {"),
            (19, "statement", mutate.DELETED),
            (21, "statement", mutate.DELETED),
            (21, "arithmetic", "total++;"),
            (22, "statement", mutate.DELETED),
            (22, "relational", "ready = total < limit - 4;"),
            (22, "arithmetic", "ready = total <= limit + 4;"),
            (22, "constant", "ready = total <= limit - 5;"),
            (23, "statement", mutate.DELETED),
            (23, "relational", "ready = ready == true;"),
            (23, "boolean", "ready = ready != false;"),
            (24, "relational", "return total >= 1 || flag == false;"),
            (24, "constant", "return total > 0 || flag == false;"),
            (24, "boolean", "return total > 1 && flag == false;"),
            (24, "relational", "return total > 1 || flag != false;"),
            (24, "boolean", "return total > 1 || flag == true;"),
        ]
        self.assertEqual(sites(SNIPPET), expected)

    def test_text_form_names_file_line_and_both_lines(self):
        first = mutate.find_mutations("toolbox/x.cpp", SNIPPET)[0]
        self.assertEqual(first.describe(), "toolbox/x.cpp:14: int total = 0; -> int total = 1;")

    def test_template_brackets_are_told_from_comparisons(self):
        cases = {
            "bool f() { return a < b && c > d; }": ["bool f() { return a <= b && c > d; }",
                                                     "bool f() { return a < b || c > d; }",
                                                     "bool f() { return a < b && c >= d; }"],
            "bool f() { return static_cast<int>(y) < z; }":
                ["bool f() { return static_cast<int>(y) <= z; }"],
            "Map<Key, std::vector<int>> table;": [],
            "auto v = make<Box<int> >(x);": [],
            "template <typename T, typename U = int> struct P;": [],
            "int g() { return std::max<std::int64_t>(count, n); }": [],
            "void f() { for (i = k; i < n; i++) {} }": ["void f() { for (i = k; i <= n; i++) {} }",
                                                        "void f() { for (i = k; i < n; i--) {} }"],
        }
        for source, mutated in cases.items():
            with self.subTest(source=source):
                self.assertEqual([m for _, _, m in sites(source)], mutated)

    def test_declarators_and_dereferences_are_not_binary_operators(self):
        source = "int f(Shape &&moved, Shape *shape) { return *shape * 2 && moved; }"
        self.assertEqual([m for _, _, m in sites(source)],
                         ["int f(Shape &&moved, Shape *shape) { return *shape / 2 && moved; }",
                          "int f(Shape &&moved, Shape *shape) { return *shape * 3 && moved; }",
                          "int f(Shape &&moved, Shape *shape) { return *shape * 2 || moved; }"])
        # Spaced on both sides, as a formatter that is not clang-format may leave it.
        self.assertEqual(sites("void g() { for (auto && item : items) {} }"), [])

    def test_declared_operators_and_static_assertions_are_left_alone(self):
        source = textwrap.dedent("""\
            bool operator==(const A &a, const A &b);
            A &operator++();
            bool operator()(int x) const;
            static_assert(sizeof(int) >= 4, "int too small");
            """)
        self.assertEqual(sites(source), [])

    def test_raw_strings_and_escaped_quotes_are_skipped(self):
        source = 'const char *a = R"x(1 < 2 ")" == )x"; const char *b = "\\" < 3"; int c = 1 - d;'
        self.assertEqual([m for _, _, m in sites(source)][-2:],
                         ['const char *a = R"x(1 < 2 ")" == )x"; const char *b = "\\" < 3"; '
                          'int c = 0 - d;',
                          'const char *a = R"x(1 < 2 ")" == )x"; const char *b = "\\" < 3"; '
                          'int c = 1 + d;'])
        self.assertEqual(len(sites(source)), 2)


class ConstantTest(unittest.TestCase):
    def test_flips(self):
        cases = {"0": "1", "1": "0", "7": "8", "41u": "42u", "1'000": "1001", "0x1F": "0x20",
                 "0xff": "0x100", "0b10": "0b11", "010": "011", "0.0f": "1.0f", "1.0": "0.0",
                 "2.5": "3.5", ".5": "1.5", "16777216.0": "16777217.0", "1e5": None,
                 "0x1p3": None, "2.0e-3": None}
        for literal, flipped in cases.items():
            with self.subTest(literal=literal):
                self.assertEqual(mutate.flipped_constant(literal), flipped)


class StatementTest(unittest.TestCase):
    def test_only_simple_statements_alone_on_their_line_in_a_body(self):
        source = textwrap.dedent("""\
            struct S {
                int member = 1;
                void f();
            };
            #define RESET(x) \\
                clear(x);
            void S::f() {
                clear();
                object.field[2] = value;
                items->push_back(3);
                ++count;
                *out = value;
                count += 2;
                Ns::call(a)(b);
                Type name(value);
                auto local = make();
                Type *pointer = other;
                std::vector<int> list;
                delete pointer;
                (void)unused;
                std::cout << value;
                if (ready)
                    launch();
                split(a,
                      b);
                a = 1; b = 2;
                switch (k) {
                case 1:
                    handle();
                    break;
                }
                auto run = [this] {
                    step();
                };
                return finish();
            }
            template <class T, class U = Box<T>> void S::g() {
                clear();
            }
            template <class T> class Local final {
                DECLARE(Local);
            };
            """)
        self.assertEqual(deleted_lines(source), [8, 9, 10, 11, 12, 13, 14, 29, 33, 38])

    def test_deletion_keeps_the_other_lines_in_place(self):
        source = "void f() {\n    first(); // why\n    second();\n}\n"
        deletion = next(m for m in mutate.find_mutations("f.cpp", source) if m.line == 2)
        self.assertEqual(deletion.apply(source), "void f() {\n     // why\n    second();\n}\n")


class SampleTest(unittest.TestCase):
    def setUp(self):
        self.mutations = mutate.find_mutations("f.cpp", SNIPPET)

    def test_same_seed_same_sample_in_source_order(self):
        chosen = mutate.sample(self.mutations, 8, 3, "f.cpp")
        self.assertEqual(chosen, mutate.sample(self.mutations, 8, 3, "f.cpp"))
        self.assertEqual(len(chosen), 8)
        self.assertEqual(len(set(chosen)), 8)
        self.assertTrue(set(chosen) <= set(self.mutations))
        self.assertEqual(chosen, sorted(chosen, key=lambda m: m.start))

    def test_seeds_reach_every_site(self):
        reached = set()
        for seed in range(200):
            reached.update(mutate.sample(self.mutations, 3, seed, "f.cpp"))
        self.assertEqual(reached, set(self.mutations))

    def test_a_small_file_gives_all_its_sites(self):
        self.assertEqual(mutate.sample(self.mutations, 1000, 1, "f.cpp"), self.mutations)


def _result(line, outcome):
    mutation = mutate.Mutation("a.cpp", line, 0, 1, "", "boolean", f"x{line}", f"y{line}")
    return mutate.Result(mutation, outcome, 1.0, 0.5)


class EquivalentTest(unittest.TestCase):
    RESULTS = [_result(1, mutate.KILLED), _result(2, mutate.TIMEOUT), _result(3, mutate.KILLED),
               _result(4, mutate.SURVIVED), _result(5, mutate.SURVIVED),
               _result(6, mutate.COMPILE_ERROR)]

    def test_listed_survivors_leave_the_score(self):
        listed = mutate.read_equivalents(textwrap.dedent("""\
            # both sides give the same value
              a.cpp:5:   x5 ->  y5

            a.cpp:1: x1 -> y1
            a.cpp:9: x9 -> y9
            """))
        judged = mutate.judge(self.RESULTS, listed)
        self.assertEqual([r.outcome for r in judged],
                         [mutate.KILLED, mutate.TIMEOUT, mutate.KILLED, mutate.SURVIVED,
                          mutate.EQUIVALENT, mutate.COMPILE_ERROR])
        summary = mutate.summarize("a.cpp", judged)
        self.assertEqual(summary, mutate.Summary("a.cpp", tried=6, compiled=5, killed=3,
                                                 survived=1, equivalent=1))
        self.assertEqual(summary.score, 0.75)
        report = mutate.format_report([summary], judged)
        self.assertIn("a.cpp:4: x4 -> y4", report)
        self.assertNotIn("a.cpp:5: x5 -> y5", report)
        self.assertIn("75.0%", report)

    def test_without_a_list_every_survivor_counts(self):
        summary = mutate.summarize("a.cpp", mutate.judge(self.RESULTS, set()))
        self.assertEqual((summary.survived, summary.equivalent), (2, 0))
        self.assertEqual(summary.score, 0.6)

    def test_nothing_compiled_has_no_score(self):
        summary = mutate.summarize("a.cpp", [_result(1, mutate.COMPILE_ERROR)])
        self.assertIsNone(summary.score)
        self.assertIn("n/a", mutate.format_report([summary], []))


class FakeWorkspace:
    """Builds fail when the file holds "BROKEN"; the tests fail on "-=" and hang on "--"."""

    def __init__(self, src):
        self.src = src
        self.file = src / "f.cpp"

    def build_targets(self, targets):
        return "BROKEN" not in self.file.read_text()

    def run_tests(self, command, timeout):
        text = self.file.read_text()
        return "failed" if "-=" in text else "timeout" if "--" in text else "passed"


class RunTest(unittest.TestCase):
    SOURCE = "void f() {\n    total += 1;\n    i++;\n    ready = true;\n}\n"

    def setUp(self):
        self.directory = tempfile.TemporaryDirectory()
        self.workspace = FakeWorkspace(Path(self.directory.name))
        self.workspace.file.write_text(self.SOURCE)

    def tearDown(self):
        self.directory.cleanup()

    def test_outcomes_and_restored_file(self):
        mutations = mutate.find_mutations("f.cpp", self.SOURCE)
        at = self.SOURCE.index("true")
        broken = mutate.Mutation("f.cpp", 4, at, at + 4, "BROKEN", "boolean", "", "")
        results = mutate.run_mutants(self.workspace, "f.cpp", mutations + [broken], [], "", 1.0,
                                     report=lambda *args, **kwargs: None)
        outcomes = {(r.mutation.line, r.mutation.replacement): r.outcome for r in results}
        self.assertEqual(outcomes[(2, "-=")], mutate.KILLED)
        self.assertEqual(outcomes[(3, "--")], mutate.TIMEOUT)
        self.assertEqual(outcomes[(4, "false")], mutate.SURVIVED)
        self.assertEqual(outcomes[(4, "BROKEN")], mutate.COMPILE_ERROR)
        self.assertEqual(self.workspace.file.read_text(), self.SOURCE)

    def test_interrupted_run_restores_the_file(self):
        def interrupt(command, timeout):
            raise KeyboardInterrupt
        self.workspace.run_tests = interrupt
        with self.assertRaises(KeyboardInterrupt):
            mutate.run_mutants(self.workspace, "f.cpp", mutate.find_mutations("f.cpp", self.SOURCE),
                               [], "", 1.0, report=lambda *args, **kwargs: None)
        self.assertEqual(self.workspace.file.read_text(), self.SOURCE)


class WorkspaceTest(unittest.TestCase):
    def setUp(self):
        self.directory = tempfile.TemporaryDirectory()
        root = Path(self.directory.name)
        self.repo = root / "repo"
        (self.repo / "lib").mkdir(parents=True)
        (self.repo / "lib" / "a.cpp").write_text("committed\n")
        (self.repo / "lib" / "b.h").write_text("header\n")
        (self.repo / ".gitignore").write_text("*.log\n")
        git = ["git", "-C", str(self.repo), "-c", "user.name=t", "-c", "user.email=t@t"]
        subprocess.run(git[:3] + ["init", "-q"], check=True)
        subprocess.run(git + ["add", "lib", ".gitignore"], check=True)
        subprocess.run(git + ["commit", "-qm", "start"], check=True)
        self.workspace = mutate.Workspace(self.repo, root / "mutation", 1)

    def tearDown(self):
        self.directory.cleanup()

    def copied(self, name):
        return (self.workspace.src / name).read_text()

    def test_copy_follows_the_working_tree_and_leaves_it_alone(self):
        (self.repo / "lib" / "a.cpp").write_text("edited, not committed\n")
        (self.repo / "lib" / "new.cpp").write_text("not added yet\n")
        (self.repo / "notes.log").write_text("ignored\n")
        self.workspace.sync()
        self.assertEqual(self.copied("lib/a.cpp"), "edited, not committed\n")
        self.assertTrue((self.workspace.src / "lib" / "new.cpp").exists())
        self.assertFalse((self.workspace.src / "notes.log").exists())

        (self.workspace.src / "lib" / "a.cpp").write_text("left over by a mutant\n")
        (self.repo / "lib" / "b.h").unlink()
        self.workspace.sync(extra=["notes.log"])
        self.assertEqual(self.copied("lib/a.cpp"), "edited, not committed\n")
        self.assertFalse((self.workspace.src / "lib" / "b.h").exists())
        self.assertTrue((self.workspace.src / "notes.log").exists())
        self.assertEqual((self.repo / "lib" / "a.cpp").read_text(), "edited, not committed\n")

    def test_changed_files_are_the_library_sources(self):
        self.assertEqual(
            mutate.select_sources(["toolbox/shape/src/A.cpp", "host/B.h", "tests/CTest.cpp",
                                   "include/D.h", "foundation/E.h", "examples/app/F.cpp",
                                   "README.md", "host/src/G.cpp", "bench/H.cpp"]),
            ["examples/app/F.cpp", "foundation/E.h", "host/B.h", "host/src/G.cpp", "include/D.h",
             "toolbox/shape/src/A.cpp"])


if __name__ == "__main__":
    unittest.main()
