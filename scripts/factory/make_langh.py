#!/usr/bin/env python3
"""Build the interface language file Options/LangH.lan from its UTF-8 source.

The source, scripts/factory/LangH.utf8.txt, holds one entry per line: line i
(counted from 0) is entry i of the interface string table, so the texts can be
reviewed and diffed as ordinary UTF-8. The program reads the language file as
code page 1251 with CR LF line ends, one entry per line, no header; this
script converts the source into exactly that form.

It refuses to write anything when the source does not hold exactly
ENTRY_COUNT entries, when a line holds a control character (it would split or
corrupt an entry), or when a character has no code page 1251 byte. The output
is written to a temporary file in the target folder and renamed over the old
file, so a failed run never leaves a half-written language file.

Usage: make_langh.py [--input SRC] [--output DST]
Standard library only.
"""

import argparse
import os
import sys
import tempfile

# Highest entry the program reads is 619, so the file has entries 0..619
# (mainwindow/uistrings.h: kUiEntryCount).
ENTRY_COUNT = 620
ENCODING = "cp1251"
LINE_END = b"\r\n"

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
DEFAULT_INPUT = os.path.join(HERE, "LangH.utf8.txt")
DEFAULT_OUTPUT = os.path.join(REPO, "data", "Options", "LangH.lan")


class SourceError(Exception):
    pass


def read_entries(path):
    """Returns the list of entry texts of the UTF-8 source."""
    with open(path, "rb") as f:
        raw = f.read()
    try:
        text = raw.decode("utf-8-sig")
    except UnicodeDecodeError as e:
        raise SourceError(f"{path}: not valid UTF-8 ({e})")
    if text and not text.endswith("\n"):
        raise SourceError(f"{path}: the last line has no line end")
    lines = text.split("\n")[:-1] if text else []
    entries = []
    for number, line in enumerate(lines):
        if line.endswith("\r"):
            line = line[:-1]
        for ch in line:
            if ord(ch) < 0x20 or ord(ch) == 0x7F:
                raise SourceError(
                    f"{path}: entry {number} holds control character U+{ord(ch):04X}")
        entries.append(line)
    return entries


def encode_entries(entries):
    """Returns the language file's bytes; raises SourceError on a character
    that code page 1251 cannot hold."""
    out = bytearray()
    for number, entry in enumerate(entries):
        for column, ch in enumerate(entry):
            try:
                ch.encode(ENCODING)
            except UnicodeEncodeError:
                raise SourceError(
                    f"entry {number}, column {column + 1}: character {ch!r} "
                    f"(U+{ord(ch):04X}) has no code page 1251 byte")
        out += entry.encode(ENCODING) + LINE_END
    return bytes(out)


def write_atomic(path, data):
    folder = os.path.dirname(os.path.abspath(path))
    os.makedirs(folder, exist_ok=True)
    fd, tmp = tempfile.mkstemp(prefix=".LangH.", dir=folder)
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
            f.flush()
            os.fsync(f.fileno())
        # mkstemp creates the file private; give it ordinary file permissions.
        umask = os.umask(0)
        os.umask(umask)
        os.chmod(tmp, 0o666 & ~umask)
        os.replace(tmp, path)
    except BaseException:
        if os.path.exists(tmp):
            os.unlink(tmp)
        raise


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--input", default=DEFAULT_INPUT)
    parser.add_argument("--output", default=DEFAULT_OUTPUT)
    args = parser.parse_args(argv)
    try:
        entries = read_entries(args.input)
        if len(entries) != ENTRY_COUNT:
            raise SourceError(
                f"{args.input}: {len(entries)} entries, expected {ENTRY_COUNT}")
        data = encode_entries(entries)
    except (OSError, SourceError) as e:
        print(f"make_langh: {e}; nothing written", file=sys.stderr)
        return 1
    write_atomic(args.output, data)
    print(f"make_langh: wrote {ENTRY_COUNT} entries, {len(data)} bytes to {args.output}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
