#!/usr/bin/env python3
"""Turns messages.txt into the C++ table of the update texts and the Windows
string table with the same texts.

usage: make_messages.py messages.txt OUT_HEADER OUT_RC

Files are rewritten only when their content changes. Any fault in the source
(a missing or repeated entry, a language out of order, an unknown escape)
stops the build with the line it is on.
"""

import re
import sys

LANGUAGES = 28
MESSAGES = 31
FIXED_IDS = (40997, 40998, 40999)


class SourceError(Exception):
    pass


def unescape(text, where):
    out = []
    i = 0
    while i < len(text):
        c = text[i]
        if c == "\\":
            following = text[i + 1 : i + 2]
            if following not in ("r", "n", "\\"):
                raise SourceError(f"{where}: unknown escape \\{following}")
            out.append({"r": "\r", "n": "\n", "\\": "\\"}[following])
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def read_source(path):
    fixed = {}
    languages = []  # list of dicts n -> text, index k - 1
    section = None
    with open(path, encoding="utf-8") as source:
        for number, line in enumerate(source, 1):
            where = f"{path}:{number}"
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            header = re.fullmatch(r"\[(fixed|(\d+) (\w+))\]", line)
            if header:
                if header.group(1) == "fixed":
                    section = fixed
                else:
                    k = int(header.group(2))
                    if k != len(languages) + 1:
                        raise SourceError(f"{where}: language {k} out of order")
                    languages.append({})
                    section = languages[-1]
                continue
            entry = re.fullmatch(r"(\d+) (.+)", line)
            if not entry or section is None:
                raise SourceError(f"{where}: not an entry")
            key = int(entry.group(1))
            if key in section:
                raise SourceError(f"{where}: entry {key} repeated")
            section[key] = unescape(entry.group(2), where)
    if sorted(fixed) != list(FIXED_IDS):
        raise SourceError(f"{path}: [fixed] must hold exactly {FIXED_IDS}")
    if len(languages) != LANGUAGES:
        raise SourceError(f"{path}: {len(languages)} languages, not {LANGUAGES}")
    for k, texts in enumerate(languages, 1):
        if sorted(texts) != list(range(MESSAGES)):
            raise SourceError(f"{path}: language {k} lacks messages or has extra ones")
    return fixed, languages


def cpp_literal(text):
    out = ['"']
    for byte in text.encode("utf-8"):
        c = chr(byte)
        if c == "\r":
            out.append("\\r")
        elif c == "\n":
            out.append("\\n")
        elif c in '"\\':
            out.append("\\" + c)
        elif 0x20 <= byte < 0x7F:
            out.append(c)
        else:
            out.append(f"\\{byte:03o}")  # octal: never runs into the next character
    out.append('"')
    return "".join(out)


def rc_literal(text):
    out = ['L"']
    escaped_hex = False
    for unit in text.encode("utf-16-le").hex(" ", 2).split():
        code = int(unit[2:4] + unit[0:2], 16)
        c = chr(code)
        # A hex escape would swallow a hex digit after it: escape that too.
        needs_hex = code >= 0x7F or code < 0x20 and c not in "\r\n"
        needs_hex = needs_hex or (escaped_hex and c in "0123456789abcdefABCDEF")
        if needs_hex:
            out.append(f"\\x{code:04X}")
        elif c == "\r":
            out.append("\\r")
        elif c == "\n":
            out.append("\\n")
        elif c == '"':
            out.append('""')
        elif c == "\\":
            out.append("\\\\")
        else:
            out.append(c)
        escaped_hex = needs_hex
    out.append('"')
    return "".join(out)


def header_text(fixed, languages):
    lines = [
        "#pragma once",
        "// Generated from upgrade/messages/messages.txt by make_messages.py; do not edit.",
        "#include <array>",
        "#include <string_view>",
        "namespace qirelo::upgrade::generated {",
        "// kMessageTexts[k - 1][n], UTF-8.",
        f"inline constexpr std::array<std::array<std::string_view, {MESSAGES}>, {LANGUAGES}>"
        " kMessageTexts = {{",
    ]
    for texts in languages:
        lines.append("    {{")
        lines.extend(f"        {cpp_literal(texts[n])}," for n in range(MESSAGES))
        lines.append("    }},")
    lines.append("}};")
    lines.append("struct FixedText {")
    lines.append("    unsigned id;")
    lines.append("    std::string_view text;")
    lines.append("};")
    lines.append(f"inline constexpr std::array<FixedText, {len(FIXED_IDS)}> kFixedTexts = {{{{")
    lines.extend(f"    {{{id}, {cpp_literal(fixed[id])}}}," for id in FIXED_IDS)
    lines.append("}};")
    lines.append("} // namespace qirelo::upgrade::generated")
    return "\n".join(lines) + "\n"


def rc_text(fixed, languages):
    lines = [
        "// Generated from upgrade/messages/messages.txt by make_messages.py; do not edit.",
        "STRINGTABLE",
        "BEGIN",
    ]
    lines.extend(f"    {id}, {rc_literal(fixed[id])}" for id in FIXED_IDS)
    for k, texts in enumerate(languages, 1):
        base = 41000 + 50 * (k - 1)
        lines.extend(f"    {base + n}, {rc_literal(texts[n])}" for n in range(MESSAGES))
    lines.append("END")
    return "\n".join(lines) + "\n"


def write_if_changed(path, text):
    try:
        with open(path, encoding="utf-8") as old:
            if old.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(text)


def main(argv):
    if len(argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        fixed, languages = read_source(argv[1])
    except SourceError as error:
        print(error, file=sys.stderr)
        return 1
    write_if_changed(argv[2], header_text(fixed, languages))
    write_if_changed(argv[3], rc_text(fixed, languages))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
