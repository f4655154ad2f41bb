#!/usr/bin/env python3
"""Writes a presentation as LibreOffice Impress writes it, for the benchmarks.

Generates a flat ODF presentation (.fodp) of --slides slides, each with a
title, six bullet points of English prose (a few accented letters and curly
quotes among them) and speaker notes, and has LibreOffice convert it to
PowerPoint 97-2003 headless:

    bench/impress_deck.py OUT.ppt [--slides 2000]

The conversion runs in a temporary folder with a LibreOffice profile of its
own, so that it neither meets a running LibreOffice nor leaves anything
behind. Needs soffice (Debian: libreoffice-impress); exits with status 2
when it is missing.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
from xml.sax.saxutils import escape

WORDS = ("the quarterly revenue grew in every region while margins held steady "
         "and the outlook stays cautious for next year as costs rise faster "
         "than prices in most of our markets").split()

HEADER = """<?xml version="1.0" encoding="UTF-8"?>
<office:document
 xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:presentation="urn:oasis:names:tc:opendocument:xmlns:presentation:1.0"
 office:version="1.2"
 office:mimetype="application/vnd.oasis.opendocument.presentation">
<office:body><office:presentation>
"""
FOOTER = "</office:presentation></office:body></office:document>\n"


def sentence(seed, length):
    words = [WORDS[(seed * 7 + i * 3) % len(WORDS)] for i in range(length)]
    return " ".join(words).capitalize()


def frame(kind, y, height, body):
    return ('<draw:frame presentation:class="%s" svg:x="2cm" svg:y="%s" '
            'svg:width="24cm" svg:height="%s"><draw:text-box>%s'
            '</draw:text-box></draw:frame>' % (kind, y, height, body))


def slide(number):
    title = escape("Slide %d: r\u00e9sum\u00e9 of the \u201cplan\u201d" % number)
    items = "".join(
        "<text:list-item><text:p>%s</text:p></text:list-item>"
        % escape(sentence(number + p, 10 + (number + p) % 6))
        for p in range(6))
    notes = escape(sentence(number * 5, 24) + ". " + sentence(number * 3, 18) + ".")
    return ('<draw:page draw:name="page%d">' % number
            + frame("title", "1cm", "3cm", "<text:p>%s</text:p>" % title)
            + frame("outline", "5cm", "12cm", "<text:list>%s</text:list>" % items)
            + "<presentation:notes>"
            + frame("notes", "14cm", "10cm", "<text:p>%s</text:p>" % notes)
            + "</presentation:notes></draw:page>\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("out")
    parser.add_argument("--slides", type=int, default=2000)
    args = parser.parse_args()
    soffice = shutil.which("soffice")
    if soffice is None:
        print("impress_deck: soffice not found (Debian: libreoffice-impress)",
              file=sys.stderr)
        sys.exit(2)
    with tempfile.TemporaryDirectory(prefix="txtppt2-impress-") as folder:
        source = os.path.join(folder, "deck.fodp")
        with open(source, "w", encoding="utf-8") as f:
            f.write(HEADER)
            for number in range(1, args.slides + 1):
                f.write(slide(number))
            f.write(FOOTER)
        subprocess.run([soffice, "-env:UserInstallation=file://" + folder + "/profile",
                        "--headless", "--convert-to", "ppt", "--outdir", folder, source],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.move(os.path.join(folder, "deck.ppt"), args.out)


if __name__ == "__main__":
    main()
