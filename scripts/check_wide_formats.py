#!/usr/bin/env python3
"""Fails when a wide string literal of the sources holds a %s, %c, %S or %C
conversion without a length modifier.

  check_wide_formats.py [folder...]    folders relative to the repository
                                       (default: app ui)

The wide printf family of this toolchain's C library reads a plain %s as a
narrow string, whatever the format's own width: a wide text passed to it shows
as its first character only. A wide format therefore always says what it
means: %ls (or %lc) for a wide string, %hs (or %hc) for a narrow one. Prints
each offending literal as file:line and exits 1 when there is one.
"""

import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE_ENDINGS = (".c", ".cpp", ".h", ".hpp", ".inc")

CONVERSION = re.compile(
    r"%(?:%|[-+ #0']*(?:\*|\d+)?(?:\.(?:\*|\d+))?"
    r"(?P<length>hh|h|ll|l|L|q|j|z|t|I64|I32|I|w)?(?P<kind>[a-zA-Z]))")


def ambiguous_conversions(body):
    """The conversions of a literal's text that name a string or character
    without saying its width."""
    found = []
    for match in CONVERSION.finditer(body):
        if match.group(0) == "%%":
            continue
        if match.group("kind") in "sScC" and not match.group("length"):
            found.append(match.group(0))
    return found


def wide_literals(text):
    """(line, body) of every wide string literal outside comments; raw
    literals are left alone (they hold no escapes and no formats here)."""
    out = []
    i, line, n = 0, 1, len(text)
    while i < n:
        c = text[i]
        if c == "\n":
            line += 1
            i += 1
        elif text.startswith("//", i):
            end = text.find("\n", i)
            i = n if end < 0 else end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            line += text.count("\n", i, end)
            i = end
        elif c in "\"'":
            wide = i > 0 and text[i - 1] == "L" and (i < 2 or not (text[i - 2].isalnum() or text[i - 2] == "_"))
            raw = i > 0 and text[i - 1] == "R"
            if raw:
                end = text.find(")" + text[i + 1:text.find("(", i)] + '"', i)
                end = n if end < 0 else end + 1
                line += text.count("\n", i, end)
                i = end + 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            if wide and c == '"':
                out.append((line, text[i + 1:j]))
            i = j + 1
        else:
            i += 1
    return out


def self_check():
    sample = ('a(L"%s %d"); b(L"%ls %d"); c(L"100%%s"); d("%s"); e(L"%-5c"); f(L"%hs");\n'
              '// g(L"%s");\n/* h(L"%s"); */ i(L"%S"); j(uL"%s");\n')
    flagged = [(line, ambiguous_conversions(body)) for line, body in wide_literals(sample)]
    flagged = [item for item in flagged if item[1]]
    expected = [(1, ["%s"]), (1, ["%-5c"]), (3, ["%S"])]
    if flagged != expected:
        raise SystemExit("check_wide_formats.py no longer finds what it should: %r" % (flagged,))


def main(argv):
    self_check()
    folders = argv[1:] or ["app", "ui"]
    problems = []
    for folder in folders:
        for base, _, files in os.walk(os.path.join(ROOT, folder)):
            for name in sorted(files):
                if not name.endswith(SOURCE_ENDINGS):
                    continue
                path = os.path.join(base, name)
                with open(path, encoding="utf-8", errors="replace") as source:
                    text = source.read()
                for line, body in wide_literals(text):
                    for conversion in ambiguous_conversions(body):
                        problems.append("%s:%d: %s in a wide format: write %%l%s for a wide text, "
                                        "%%h%s for a narrow one" % (os.path.relpath(path, ROOT), line,
                                                                    conversion, conversion[-1].lower(),
                                                                    conversion[-1].lower()))
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
