#!/usr/bin/env python3
"""Checks the manual pages against what they describe.

    check_pages.py command PAGE.1 COMMAND
    check_pages.py library PAGE.3 HEADER EXPORTS [SYMBOLS]

command: every word of `COMMAND --help` is in the page, in the same order;
every option the help names is a term of the page's OPTIONS section; the
page has the sections a command's page needs.

library: the exports declared in HEADER, the names in EXPORTS (one a line),
the entries of the page's FUNCTIONS section, the prototypes of its
SYNOPSIS and, when given, the Debian symbols file SYMBOLS all name the same
22 functions, and each prototype in the page is the header's; each error
code the header names is an item of ERRORS.

Either way, where man-db is installed the page must render without a
warning.
"""
import os
import re
import shutil
import subprocess
import sys

failures = []
fail = failures.append


def roff_text(line):
    """A roff line's text: escapes resolved, fonts dropped."""
    line = re.sub(r"\\f[BIRP]", "", line)
    line = line.replace("\\-", "-").replace("\\e", "\\").replace("\\&", "")
    line = line.replace("\\(rg", "\u00ae")
    if line.startswith("."):
        request, _, rest = line.partition(" ")
        if request in (".B", ".I", ".BR", ".IR", ".SH", ".SS"):
            return rest.replace('"', "")
        return ""
    return line


def sections(page):
    """The page's sections: name -> list of raw lines."""
    result = {}
    current = None
    for line in page.splitlines():
        if line.startswith(".SH "):
            current = line[4:].replace("\\-", "-").strip('"')
            result[current] = []
        elif current is not None:
            result[current].append(line)
    return result


def tagged_terms(lines):
    """The first text line after each .TP: the items' terms."""
    terms = []
    for index, line in enumerate(lines):
        if line == ".TP" and index + 1 < len(lines):
            terms.append(roff_text(lines[index + 1]))
    return terms


def check_renders(path):
    if shutil.which("man") is None:
        return
    result = subprocess.run(
        ["man", "--warnings", "-E", "UTF-8", "-l", path],
        capture_output=True, text=True,
        env=dict(os.environ, MANWIDTH="80", MAN_KEEP_STDERR="1"))
    if result.returncode != 0 or result.stderr.strip():
        fail(f"{path} does not render cleanly:\n{result.stderr}")


def check_command(page_path, command):
    page = open(page_path, encoding="utf-8").read()
    help_text = subprocess.run([command, "--help"], check=True,
                               capture_output=True, text=True).stdout
    by_section = sections(page)
    for needed in ("NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS",
                   "EXIT STATUS", "EXAMPLES"):
        if needed not in by_section:
            fail(f"no {needed} section")

    # Every word of the help, in order; the usage and the summary first,
    # which the page moves into NAME and SYNOPSIS, then the rest. The words
    # that became the page's own structure ("usage:", headings) aside.
    def words(text):
        return [word.lower().rstrip(".") for word in text.split()]
    page_words = words(" ".join(roff_text(line) for line in page.splitlines()))
    first, _, rest = help_text.partition("\n\n")
    for word in words(first):
        if word != "usage:" and word not in page_words:
            fail(f"the help's word {word!r} is not in the page")
    headings = " ".join(by_section).lower()
    position = page_words.index("description")
    for word in words(rest):
        if word.endswith(":") and word[:-1] in headings:
            continue
        try:
            position = page_words.index(word, position) + 1
        except ValueError:
            fail(f"the help's word {word!r} is not in the page "
                 f"(or not in the help's order)")
            break

    # Every option of the help is an item of OPTIONS.
    # The help's options: its long options wherever they are named, and the
    # short ones that start an item.
    options = set(re.findall(r"(?<![\w-])(--[A-Za-z][\w-]*)", help_text))
    for line in help_text.splitlines():
        options.update(re.findall(r"^ +(-[A-Za-z])\b", line))
    terms = tagged_terms(by_section.get("OPTIONS", []))
    described = set(re.findall(r"(?<![\w-])(--?[A-Za-z][\w-]*)",
                               " ".join(terms)))
    for option in sorted(options - described):
        # Options the help names only in passing (in an example, say) are
        # still options of the command: each must have its own item.
        fail(f"option {option} of --help has no item in OPTIONS")
    check_renders(page_path)


def header_prototypes(header):
    """name -> prototype without spaces, of every TXTPPT2_API declaration."""
    text = re.sub(r"/\*.*?\*/", "", open(header).read(), flags=re.S)
    text = re.sub(r"^#.*$", "", text, flags=re.M)
    result = {}
    for declaration in re.findall(r"TXTPPT2_API\s+([^;]*;)", text):
        declaration = declaration.replace("TXTPPT2_CALL", "")
        name = re.search(r"(\w+)\s*\(", declaration).group(1)
        result[name] = re.sub(r"\s+", "", declaration)
    return result


def check_library(page_path, header, exports, symbols=None):
    page = open(page_path, encoding="utf-8").read()
    declared = header_prototypes(header)
    listed = set(open(exports).read().split())
    by_section = sections(page)

    synopsis = {}
    for line in by_section.get("SYNOPSIS", []):
        match = re.search(r"(\w+)\(.*\);$", line)
        if match and not line.startswith("."):
            synopsis[match.group(1)] = re.sub(r"\s+", "", line)
    documented = set()
    for term in tagged_terms(by_section.get("FUNCTIONS", [])):
        documented.update(re.findall(r"(\w+)\s*\(\)", term.replace(" ", "")))

    names = {"the header": set(declared), "EXPORTS": listed,
             "the page's SYNOPSIS": set(synopsis),
             "the page's FUNCTIONS": documented}
    if symbols:
        names["the symbols file"] = set(
            re.findall(r"^ (\w+)@", open(symbols).read(), flags=re.M))
    for where, found in names.items():
        if found != listed or len(found) != 22:
            fail(f"{where} names {len(found)} functions; beside EXPORTS "
                 f"it lacks {sorted(listed - found)} and adds "
                 f"{sorted(found - listed)}")
    # The header's error codes: each an item of ERRORS, by value and name.
    header_text = open(header).read()
    errors = " ".join(tagged_terms(by_section.get("ERRORS", [])))
    for name, value in re.findall(r"^\s*(txtppt2_\w+)\s*=\s*(\d+)",
                                  header_text, flags=re.M):
        if not re.search(rf"\b{value}\b.*\b{name}\b", errors):
            fail(f"ERRORS has no item for {value} ({name})")
    for name in sorted(set(declared) & set(synopsis)):
        if declared[name] != synopsis[name]:
            fail(f"{name}: the page says {synopsis[name]}, the header "
                 f"{declared[name]}")
    check_renders(page_path)


def main():
    kind, arguments = sys.argv[1], sys.argv[2:]
    if kind == "command" and len(arguments) == 2:
        check_command(*arguments)
    elif kind == "library" and len(arguments) in (3, 4):
        check_library(*arguments)
    else:
        sys.exit(__doc__)
    for message in failures:
        print("FAILED:", message)
    if failures:
        sys.exit(1)
    print(f"{sys.argv[2]} agrees with what it describes")


if __name__ == "__main__":
    main()
