"""Puts the text of a file into the Lines of one control of a dialog form.

    page_text.py <form.txt> <control> <text file> <output form.txt>

The text file (plain text or RTF) is taken byte for byte, line by line; the
control's Lines.Strings list in the form is replaced by its lines.
"""
import re
import sys


def quoted(line):
    """A text-form string for one line: printable runs quoted, others as #nn."""
    if not line:
        return "''"
    pieces, run = [], ""
    for ch in line:
        if ch == "\t" or ord(ch) < 32:
            if run:
                pieces.append("'" + run + "'")
                run = ""
            pieces.append("#%d" % ord(ch))
        else:
            run += "''" if ch == "'" else ch
    if run:
        pieces.append("'" + run + "'")
    return "".join(pieces)


def main():
    form_path, control, text_path, out_path = sys.argv[1:5]
    form = open(form_path, encoding="latin-1").read()
    text = open(text_path, "rb").read().decode("latin-1")
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    while lines and not lines[-1]:
        lines.pop()
    start = re.search(r"object\s+%s\s*:" % re.escape(control), form, re.I)
    if not start:
        sys.exit("%s: no object %s" % (form_path, control))
    # The list: quoted strings and #nn pieces, then ")".
    lst = re.compile(r"(Lines\.Strings\s*=\s*\()((?:\s*(?:'(?:[^']|'')*'|#\d+)+)*)\s*\)", re.I)
    found = lst.search(form, start.end())
    if not found:
        sys.exit("%s: %s has no Lines.Strings" % (form_path, control))
    line_start = form.rfind("\n", 0, found.start()) + 1
    indent = " " * (found.start() - line_start + 2)
    body = "".join("\n" + indent + quoted(line) for line in lines) or ("\n" + indent + "''")
    form = form[: found.start()] + found.group(1) + body + ")" + form[found.end():]
    with open(out_path, "w", encoding="latin-1", newline="\n") as out:
        out.write(form)


if __name__ == "__main__":
    main()
