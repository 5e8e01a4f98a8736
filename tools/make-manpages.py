#!/usr/bin/env python3
"""Writes the manual pages of quillmark and quillmark-cli from their --help and --version texts.

Usage: tools/make-manpages.py [BIN_DIR [OUT_DIR]]   (defaults: build/bin, dist/man)

The pages are committed in dist/man, so the build needs no generator; a test runs this script
with the built programs and compares, so a changed --help text is noticed. Each "Heading:" line
of the help text (at the start of a line) becomes a section; the lines below it are kept as
they are, in a no-fill block, because the help text is laid out by hand."""

import os
import subprocess
import sys

PROGRAMS = {
    "quillmark": "design counted-stitch charts and pixel-art patterns",
    "quillmark-cli": "convert pictures, open, save and export Quillmark designs without a window",
}


def troff_text(line):
    """A line as troff prints it: backslashes and hyphens escaped, no control character first."""
    line = line.replace("\\", "\\e").replace("-", "\\-")
    if line.startswith((".", "'")):
        line = "\\&" + line
    return line


def help_sections(text):
    """(heading, lines) pairs: the usage first, then one per "Heading:" line."""
    lines = text.rstrip("\n").split("\n")
    sections = [("SYNOPSIS", [lines.pop(0)])]
    # Lines right below the usage line describe its options.
    current = ("OPTIONS", []) if lines and lines[0].strip() else None
    if current:
        sections.append(current)
    for line in lines:
        if line and not line[0].isspace() and line.endswith(":"):
            current = (line[:-1].upper(), [])
            sections.append(current)
        elif current is None:
            if line.strip():
                current = ("DESCRIPTION", [line])
                sections.append(current)
        else:
            current[1].append(line)
    return sections


def manual_page(name, summary, help_text, version_text):
    version = version_text.split()[-1]
    out = [
        f'.TH {name.upper()} 1 "" "Quillmark {version}" "User Commands"',
        ".SH NAME",
        f"{troff_text(name)} \\- {troff_text(summary)}",
    ]
    for heading, lines in help_sections(help_text):
        while lines and not lines[-1].strip():
            lines.pop()
        if heading == "SYNOPSIS":
            lines = [line.replace("Usage: ", "", 1) for line in lines]
        out.append(f".SH {troff_text(heading)}")
        out.append(".nf")
        out.extend(troff_text(line) for line in lines)
        out.append(".fi")
    out += [
        ".SH SEE ALSO",
        "quillmark(1)",
    ]
    if name == "quillmark":
        out[-1] = "quillmark\\-cli(1)"
    return "\n".join(out) + "\n"


def main():
    bin_dir = sys.argv[1] if len(sys.argv) > 1 else "build/bin"
    out_dir = sys.argv[2] if len(sys.argv) > 2 else "dist/man"
    os.makedirs(out_dir, exist_ok=True)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    for name, summary in PROGRAMS.items():
        program = os.path.join(bin_dir, name)

        def run(option):
            return subprocess.run([program, option], check=True, capture_output=True, text=True,
                                  env=env).stdout

        page = manual_page(name, summary, run("--help"), run("--version"))
        path = os.path.join(out_dir, name + ".1")
        with open(path, "w", encoding="utf-8") as f:
            f.write(page)
        print(path)


if __name__ == "__main__":
    main()
