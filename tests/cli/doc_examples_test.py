#!/usr/bin/env python3
"""Runs every example of the manual page, the README and docs/ that shows a
curp command with its output, and compares the output.

    doc_examples_test.py path/to/curp SOURCE_DIR

An example is a line "$ COMMAND" inside a fenced block of Markdown (or the
.nf/.fi block of the manual page) whose COMMAND runs curp, followed by the
lines it writes on standard output, up to the next "$ " line or the end of
the block. A command followed by no lines (one that writes into a file) is
not checked. The commands run in an empty folder, with curp first in PATH.
"""
import os
import pathlib
import re
import subprocess
import sys
import tempfile


def man_text(text):
    """The manual page's .nf blocks as plain text, groff escapes undone."""
    blocks = re.findall(r"^\.nf\n(.*?)^\.fi$", text, re.S | re.M)
    plain = []
    for block in blocks:
        block = block.replace("\\-", "-").replace("\\e", "\\")
        plain.append(block.splitlines())
    return plain


def markdown_blocks(text):
    return [b.splitlines() for b in re.findall(r"^ *```[a-z]*\n(.*?)^ *```$", text, re.S | re.M)]


def examples(lines):
    """(command, expected output) for each example of a block."""
    found = []
    i = 0
    while i < len(lines):
        line = lines[i]
        if not line.startswith("$ "):
            i += 1
            continue
        command = line[2:]
        while command.endswith("\\") and i + 1 < len(lines):
            i += 1
            command = command[:-1] + " " + lines[i].strip()
        i += 1
        output = []
        while i < len(lines) and not lines[i].startswith("$ "):
            output.append(lines[i])
            i += 1
        if re.search(r"(^|[|;&(]\s*)curp\s", command) and output:
            found.append((command, "\n".join(output) + "\n"))
    return found


def main():
    curp, source = pathlib.Path(sys.argv[1]).resolve(), pathlib.Path(sys.argv[2])
    files = [source / "cli" / "curp.1", source / "README.md"] + sorted((source / "docs").glob("*.md"))
    failures = passed = 0
    with tempfile.TemporaryDirectory() as work:
        bindir = pathlib.Path(work) / "bin"
        bindir.mkdir()
        (bindir / "curp").symlink_to(curp)
        env = dict(os.environ, PATH=f"{bindir}:{os.environ.get('PATH', '/usr/bin:/bin')}")
        for path in files:
            text = path.read_text(encoding="utf-8")
            blocks = man_text(text) if path.suffix == ".1" else markdown_blocks(text)
            for block in blocks:
                for command, expected in examples(block):
                    run = pathlib.Path(work) / "run"
                    run.mkdir(exist_ok=True)
                    got = subprocess.run(["bash", "-c", command], cwd=run, env=env,
                                         capture_output=True, text=True).stdout
                    if got != expected:
                        failures += 1
                        print(f"FAIL {path.relative_to(source)}: $ {command}\n"
                              f"--- shown:\n{expected}--- written:\n{got}")
                    else:
                        passed += 1
    print(f"doc_examples_test: {passed} passed, {failures} failed")
    return 1 if failures or not passed else 0


if __name__ == "__main__":
    sys.exit(main())
