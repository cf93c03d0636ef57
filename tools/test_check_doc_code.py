"""Tests of check-doc-code.py on small Markdown files: the blocks it compiles, where it says a block
fails, and its marks. Needs g++."""

import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

TOOL = Path(__file__).resolve().parent / "check-doc-code.py"


@unittest.skipIf(shutil.which("g++") is None, "needs g++")
class CheckDocCodeTest(unittest.TestCase):
    def check(self, markdown):
        """The tool's exit status and output on doc.md holding markdown."""
        with tempfile.TemporaryDirectory() as folder:
            Path(folder, "doc.md").write_text(markdown, encoding="utf-8")
            result = subprocess.run([sys.executable, str(TOOL), "--cxx", "g++", "doc.md"],
                                    cwd=folder, capture_output=True, text=True, check=False)
        return result.returncode, result.stdout + result.stderr

    def test_a_broken_block_is_reported_at_its_line_with_the_compilers_message(self):
        status, output = self.check("# Title\n\n```cpp\nint a = 1;\n```\n\nText.\n\n"
                                    "```cpp\nint b = 2;\nint c = ;\n```\n\n```text\nint d = ;\n```\n"
                                    "\n- In a list:\n\n    ```cpp\n    int e = ;\n    ```\n")
        self.assertEqual(status, 1)
        self.assertIn("doc.md:9: this C++ block does not compile", output)
        self.assertIn("doc.md:11:", output)  # the compiler's line, in the Markdown file
        self.assertNotIn("doc.md:3:", output)
        self.assertNotIn("doc.md:15:", output)  # not C++
        self.assertIn("doc.md:20: this C++ block does not compile", output)
        self.assertIn("3 C++ blocks of doc.md compiled with g++; failures: 2", output)

    def test_a_fence_with_text_after_it_does_not_close_the_block(self):
        status, output = self.check("```cpp\nint a = 1;\n``` Then prose.\n\nMore prose.\n```\n")
        self.assertEqual(status, 1)
        self.assertIn("doc.md:1: this C++ block does not compile", output)

    def test_a_skipped_block_is_not_compiled_and_is_named(self):
        status, output = self.check("<!-- snippet: skip (a fragment) -->\n\n```cpp\nint b = ;\n```\n")
        self.assertEqual(status, 0, output)
        self.assertIn("failures: 0; skipped doc.md:3 ((a fragment))", output)

    def test_marks_must_be_well_formed_and_right_before_a_block(self):
        for markdown, message in [
                ("<!-- snippet: skip -->\n```cpp\nint a;\n```\n", "unknown snippet mark 'skip'"),
                ("<!-- snippet: skip (x) -->\nProse.\n```cpp\nint a;\n```\n",
                 "doc.md:1: snippet mark not right before a ```cpp block"),
                ("<!-- snippet: prelude missing -->\n```cpp\nint a;\n```\n",
                 "doc.md:1: no prelude missing defined before"),
                ("<!-- snippet: top-level -->\n```text\nx\n```\n", "not right before")]:
            status, output = self.check(markdown)
            self.assertEqual(status, 1, markdown)
            self.assertIn(message, output)

    def test_preludes_and_top_level_blocks(self):
        status, output = self.check(
            "<!-- snippet: prelude default\n#include <string>\n-->\n\n"
            "<!-- snippet: prelude greeting\nextern const std::string greeting;\n-->\n"
            "```cpp\nstd::string copy = greeting;\n```\n\n"      # line 8
            "```cpp\nstd::string plain;\n```\n\n"                 # 12: the default alone
            "<!-- snippet: prelude greeting -->\n"
            "```cpp\nauto size = greeting.size();\n```\n\n"       # 17
            "```cpp\nauto other = greeting.size();\n```\n\n"      # 21: no prelude named
            "<!-- snippet: top-level -->\n"                        # a member template: not in a
            "```cpp\nstruct Top { template <class T> void f(T) {} };\n```\n")  # local class
        self.assertEqual(status, 1)
        self.assertIn("doc.md:21: this C++ block does not compile", output)
        self.assertIn("'greeting' was not declared", output.replace("‘", "'").replace("’", "'"))
        self.assertIn("5 C++ blocks of doc.md compiled with g++; failures: 1", output)


if __name__ == "__main__":
    unittest.main()
