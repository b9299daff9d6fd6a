#!/usr/bin/env python3
"""Print a C++ string literal holding the Shift-JIS (CP932) bytes of a text.

The engine keeps every user-visible text as Shift-JIS bytes. Source files are
UTF-8, so engine texts are written as escaped byte literals with the readable
text in a comment beside them. Usage:

    tools/sjis_literal.py "BMPファイルを読み込めません" [NAME]

prints  inline constexpr char NAME[] = "...";  // BMPファイルを読み込めません
(or just the literal when no NAME is given).
"""
import sys


def literal(text: str) -> str:
    out = []
    escaped = False
    for b in text.encode("cp932"):
        c = chr(b)
        if b < 0x80 and c.isprintable() and c not in '"\\':
            if escaped and c in "0123456789abcdefABCDEF":
                out.append('" "')  # end the escape before a hex digit
            out.append(c)
            escaped = False
        else:
            out.append("\\x%02X" % b)
            escaped = True
    return '"' + "".join(out) + '"'


def main() -> int:
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    text = sys.argv[1]
    if len(sys.argv) > 2:
        print("inline constexpr char %s[] = %s;  // %s" % (sys.argv[2], literal(text), text))
    else:
        print(literal(text))
    return 0


if __name__ == "__main__":
    sys.exit(main())
