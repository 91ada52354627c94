#!/usr/bin/env python3
"""Writes the string tables in their languages' Windows code pages.

The tables are edited as UTF-8 in utf8/; each becomes plmi<Language>.txt
here, lines ending in CR LF. Vietnamese letters that code page 1258 has no
precomposed form of are written as the base letter and a combining tone mark,
as that code page intends.

usage: convert_tables.py          write the tables
       convert_tables.py --check  fail when a written table differs
"""
import os
import sys
import unicodedata

CODE_PAGES = {"ChineseSimplified": "gbk", "Czech": "cp1250", "Danish": "cp1252", "English": "cp1252",
              "French": "cp1252", "German": "cp1252", "Greek": "cp1253", "Hebrew": "cp1255",
              "Italian": "cp1252", "Japanese": "cp932", "Korean": "cp949", "Polish": "cp1250",
              "Portugese": "cp1252", "Russian": "cp1251", "Spanish": "cp1252", "Vietnamese": "cp1258"}
TONE_MARKS = "\u0300\u0301\u0303\u0309\u0323"
HERE = os.path.dirname(os.path.abspath(__file__))


def encode_char(ch, codec):
    try:
        return ch.encode(codec)
    except UnicodeEncodeError:
        if codec != "cp1258":
            raise
    parts = unicodedata.normalize("NFD", ch)
    base = unicodedata.normalize("NFC", "".join(c for c in parts if c not in TONE_MARKS))
    tones = "".join(c for c in parts if c in TONE_MARKS)
    return (base + tones).encode(codec)


def convert(language):
    with open(os.path.join(HERE, "utf8", "plmi%s.txt" % language), encoding="utf-8") as f:
        lines = f.read().splitlines()
    codec = CODE_PAGES[language]
    out = bytearray()
    for number, line in enumerate(lines, 1):
        try:
            out += b"".join(encode_char(ch, codec) for ch in line) + b"\r\n"
        except UnicodeEncodeError as e:
            sys.exit("plmi%s.txt:%d: %s" % (language, number, e))
    return bytes(out)


def main():
    check = "--check" in sys.argv[1:]
    stale = []
    for language in CODE_PAGES:
        path = os.path.join(HERE, "plmi%s.txt" % language)
        data = convert(language)
        if check:
            with open(path, "rb") as f:
                if f.read() != data:
                    stale.append(path)
        else:
            with open(path, "wb") as f:
                f.write(data)
    if stale:
        sys.exit("stale tables (run convert_tables.py): " + " ".join(stale))


main()
