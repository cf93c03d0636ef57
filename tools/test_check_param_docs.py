"""The parameter check against Doxygen's real XML for a small header: it names exactly the
parameters left without \\param, and leaves alone what is not callable API."""
import contextlib
import importlib.util
import io
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

source = importlib.util.spec_from_file_location(
    "check_param_docs", Path(__file__).with_name("check-param-docs.py"))
check = importlib.util.module_from_spec(source)
source.loader.exec_module(check)

HEADER = r"""
#pragma once
/// A widget.
class Widget {
public:
    /// Moves it.
    /// \param x across
    void move(int x, int y);
    /// Both named in one line.
    /// \param w, h the size
    void resize(int w, int h);
    /// Nothing to name.
    int count() const;
    /// A parameter without a name needs no words.
    void ignore(int);
    Widget &operator=(const Widget &other) = delete;
protected:
    /// For subclasses.
    virtual void paint(int layer);
private:
    /// Not API.
    void secret(int depth);
};
/// Not in any class.
/// \param value what to keep
void keep(int value, bool quietly);
"""


@unittest.skipUnless(shutil.which("doxygen"), "Doxygen is not installed")
class CheckParamDocsTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        root = Path(self.folder.name)
        (root / "widget.h").write_text(HEADER)
        (root / "Doxyfile").write_text(
            "INPUT = widget.h\nGENERATE_HTML = NO\nGENERATE_LATEX = NO\nGENERATE_XML = YES\n"
            "EXTRACT_ALL = NO\nQUIET = YES\nWARNINGS = NO\nJAVADOC_AUTOBRIEF = YES\n")
        subprocess.run(["doxygen", "Doxyfile"], cwd=root, check=True, capture_output=True)
        self.xml = root / "xml"

    def tearDown(self):
        self.folder.cleanup()

    def test_names_each_undocumented_parameter_of_public_and_protected_functions(self):
        found = sorted(line.split(": ", 1)[1] for line in check.findings(self.xml))
        self.assertEqual(found, ["Widget::move: no \\param for y",
                                 "Widget::paint: no \\param for layer",
                                 "keep: no \\param for quietly"])

    def test_exit_status_and_usage(self):
        with contextlib.redirect_stdout(io.StringIO()), contextlib.redirect_stderr(io.StringIO()):
            self.assertEqual(check.main(["check", str(self.xml)]), 1)
            self.assertEqual(check.main(["check", str(self.xml / "missing")]), 2)


if __name__ == "__main__":
    unittest.main()
