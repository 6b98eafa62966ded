#!/usr/bin/env python3
"""Turns a Markdown manual into the plain text that ships beside the
program: headings underlined, tables in aligned columns, code blocks
indented, link targets, backticks and emphasis marks gone. Written as UTF-8
with a byte order mark (Notepad on every Windows reads it so) and CR LF
line ends.

    md_to_text.py SOURCE TARGET
"""

import html
import re
import sys

LINK = re.compile(r"\[([^\]]*(?:\[[^\]]*\][^\]]*)*)\]\(([^)]*)\)")
EMPHASIS = re.compile(r"(\*\*|\*)(?=\S)(.+?)(?<=\S)\1")


def inline(text):
    """Link texts (external targets in brackets behind them), code without
    its backticks, emphasis without its marks, entities as characters."""
    parts = text.split("`")
    for i in range(0, len(parts), 2):  # outside code spans
        parts[i] = LINK.sub(lambda m: m.group(1) if m.group(2).startswith("#") or
                            not m.group(2).startswith("http") else f"{m.group(1)} <{m.group(2)}>",
                            parts[i])
        parts[i] = EMPHASIS.sub(r"\2", parts[i])
    return html.unescape("".join(parts))


def table(rows):
    cells = [[inline(c.strip()) for c in row.strip().strip("|").split("|")] for row in rows
             if not re.fullmatch(r"\|?[\s:|-]+\|?", row.strip())]
    widths = [max(len(r[i]) for r in cells if i < len(r)) for i in range(max(map(len, cells)))]
    return ["  " + "  ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip() for r in cells]


def convert(markdown):
    out, lines, i, fenced = [], markdown.split("\n"), 0, False
    while i < len(lines):
        line = lines[i]
        if line.startswith("```"):
            fenced = not fenced
        elif fenced:
            out.append("    " + line if line else "")
        elif line.startswith("|"):
            rows = []
            while i < len(lines) and lines[i].startswith("|"):
                rows.append(lines[i])
                i += 1
            out += table(rows)
            continue
        elif line.startswith("#"):
            level = len(line) - len(line.lstrip("#"))
            title = inline(line[level:].strip())
            out.append(title)
            if level < 3:
                out.append(("=" if level == 1 else "-") * len(title))
        else:
            out.append(inline(line))
        i += 1
    return "\n".join(out).rstrip("\n") + "\n"


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    with open(sys.argv[1], encoding="utf-8") as f:
        text = convert(f.read().replace("\r\n", "\n"))
    with open(sys.argv[2], "wb") as f:
        f.write(b"\xef\xbb\xbf" + text.replace("\n", "\r\n").encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
