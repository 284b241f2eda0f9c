#!/usr/bin/env python3
"""Doxygen's input filter for the pages under docs/ (scripts/docs.sh sets it up).

The pages are written for reading in the source tree, where headings get their
anchors from their text and links to the examples lead up out of docs/. Doxygen
makes the pages part of the API reference, but it neither derives those anchors
nor knows where the source tree lies from the output folder. This filter prints a
page with each heading given the anchor its contents links use (with a prefix when
it starts with a digit, which doxygen refuses, and the links changed to match),
and with links that leave docs/ pointing at the source tree from the reference's
html/ folder (the path in TQ3_DOCS_SOURCE_LINK). Fenced code stays as it is.
"""
import os
import re
import sys

HEADING = re.compile(r"^(#{1,6})\s+(.*?)\s*$")
UP_LINK = re.compile(r"\]\(\.\./")
PAGE_LINK = re.compile(r"\]\(#([^)]+)\)")


def anchor(title: str) -> str:
    """The anchor a heading gets from its text: lower case, the backticks and
    punctuation dropped, spaces as hyphens ("1. Install" -> "1-install")."""
    text = re.sub(r"[^\w\- ]", "", title.lower())
    return label(text.replace(" ", "-"))


def label(name: str) -> str:
    """An anchor as doxygen accepts it: one that starts with a digit gets a prefix."""
    return name if name[:1].isalpha() else "section-" + name


def main() -> int:
    source = os.environ.get("TQ3_DOCS_SOURCE_LINK", "")
    fenced = False
    with open(sys.argv[1], encoding="utf-8") as page:
        for line in page:
            if line.lstrip().startswith("```"):
                fenced = not fenced
            elif not fenced:
                match = HEADING.match(line)
                # The page's title (a single #) names the page itself.
                if match and len(match.group(1)) > 1 and "{#" not in line:
                    line = f"{match.group(1)} {match.group(2)} {{#{anchor(match.group(2))}}}\n"
                else:
                    line = PAGE_LINK.sub(lambda link: f"](#{label(link.group(1))})", line)
                    if source:
                        line = UP_LINK.sub(f"]({source}/", line)
            sys.stdout.write(line)
    return 0


if __name__ == "__main__":
    sys.exit(main())
