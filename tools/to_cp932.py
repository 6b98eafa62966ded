#!/usr/bin/env python3
"""Turns a UTF-8 text of the repository into the shipped form: code page 932
(Shift-JIS) with CR LF line ends. Fails on a character cp932 cannot hold, so
a help file never ships with lost characters.

    to_cp932.py SOURCE TARGET
"""

import sys


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    source, target = sys.argv[1:]
    with open(source, encoding="utf-8", newline="") as f:
        text = f.read()
    text = text.replace("\r\n", "\n").replace("\n", "\r\n")
    try:
        data = text.encode("cp932")
    except UnicodeEncodeError as error:
        line = text[:error.start].count("\n") + 1
        print(f"{source}:{line}: {text[error.start]!r} has no cp932 form", file=sys.stderr)
        return 1
    with open(target, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
