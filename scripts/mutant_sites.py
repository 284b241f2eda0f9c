#!/usr/bin/env python3
"""Mutation sites of C++ sources, for scripts/mutants.sh.

  mutant_sites.py list SEED FILE...            every site, in sampling order, as
                                               file<TAB>line<TAB>kind<TAB>before<TAB>after
  mutant_sites.py apply FILE LINE BEFORE AFTER replaces line LINE (1-based), which must
                                               still read BEFORE, by AFTER

Sites are found line by line in the code with comments, string and character
literals blanked out, so nothing inside them is ever mutated. The order depends
only on the seed and the files' contents: each kind's sites are shuffled with a
small seeded generator of our own (not Python's, whose sequence could change
between versions), then the kinds take turns, so a short sample mixes them.
"""
import re
import sys

KINDS = ("comparison", "plus-one", "negation", "removal", "return")

COMPARISON = re.compile(r"(?<=\s)(==|!=|<=|>=|<|>)(?=\s)")
FLIPPED = {"==": "!=", "!=": "==", "<": "<=", "<=": "<", ">": ">=", ">=": ">"}
PLUS_ONE = re.compile(r"(?<=[\w)\]])\s[+-]\s1(?![\w.'])(?!\s*[*/%])")
CONDITION = re.compile(r"\b(if|while)\s*\(")
DECLARATION = re.compile(r"^\s*(const\s+)?[\w:<>]+\s*[*&]*\s*\w+\s*=[^=]")
CONTROL = re.compile(r"^\s*(\}\s*else\s+)?(if|for|while)\s*\(")
RETURN = re.compile(r"\breturn\s+(true|false|TRUE|FALSE|-?\d+)\s*;")
RETURNED = {"true": "false", "false": "true", "TRUE": "FALSE", "FALSE": "TRUE"}
# Statements whose removal still compiles: a call, an assignment to something
# already declared, an increment, break, continue or a bare return.
CALL = re.compile(r"^[\w:.\->\[\]*]+\(.*\);$")
ASSIGNMENT = re.compile(r"^[*(]*[\w:.\->\[\]()]+\s*([-+*/|&^]|<<|>>)?=\s*[^=].*;$")
INCREMENT = re.compile(r"^(\+\+|--)?[\w:.\->\[\]]+(\+\+|--)?;$")
KEYWORD = re.compile(r"^(if|for|while|switch|case|else|do|return|goto|using|typedef|delete|static_assert)\b")


def blank_literals(text):
    """The text with comments and literal contents turned into spaces, same layout."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(c + re.sub(r"[^\n]", " ", text[i + 1:j]))
            i = j
            continue
        else:
            out.append(c)
            i += 1
            continue
        out.append(re.sub(r"[^\n]", " ", text[i:j]))
        i = j
    return "".join(out)


def closing_paren(code, start):
    """Index of the parenthesis closing the one at `start`, or -1 on another line."""
    depth = 0
    for i in range(start, len(code)):
        depth += {"(": 1, ")": -1}.get(code[i], 0)
        if depth == 0:
            return i
    return -1


def balanced(code):
    return all(code.count(a) == code.count(b) for a, b in ("()", "[]", "{}"))


def removable(statement):
    if statement in ("break;", "continue;", "return;"):
        return True
    if KEYWORD.match(statement) or not balanced(statement):
        return False
    return bool(CALL.match(statement) or ASSIGNMENT.match(statement) or INCREMENT.match(statement))


def line_sites(line, code, previous):
    """(kind, mutated line) for each site of one line; `code` is its blanked form."""
    stripped = code.strip()
    if not stripped or stripped.startswith("#"):
        return
    for m in COMPARISON.finditer(code):
        yield "comparison", line[:m.start()] + FLIPPED[m.group(1)] + line[m.end():]
    for m in PLUS_ONE.finditer(code):
        yield "plus-one", line[:m.start()] + line[m.end():]
    for m in CONDITION.finditer(code):
        open_at = m.end() - 1
        close_at = closing_paren(code, open_at)
        inner = code[open_at + 1:close_at]
        if close_at < 0 or ";" in inner or DECLARATION.match(inner):
            continue
        yield "negation", (line[:open_at + 1] + "!(" + line[open_at + 1:close_at] + ")"
                           + line[close_at:])
    control = CONTROL.match(code)
    if control:  # the statement a one-line if, for or while controls
        close_at = closing_paren(code, control.end() - 1)
        rest = code[close_at + 1:].strip() if close_at > 0 else ""
        if rest.endswith(";") and "else" not in rest and balanced(rest) and not rest.startswith("{"):
            yield "removal", line[:close_at + 1] + " {}" + line[len(line.rstrip()):]
    elif previous.endswith((";", "{", "}", ":")) and removable(stripped):
        yield "removal", line[:len(line) - len(line.lstrip())] + "{}"
    for m in RETURN.finditer(code):
        value = m.group(1)
        new = RETURNED.get(value, "1" if value == "0" else "0")
        yield "return", line[:m.start(1)] + new + line[m.end(1):]


def sites(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    lines, codes = text.split("\n"), blank_literals(text).split("\n")
    previous, continued = ";", False
    for number, (line, code) in enumerate(zip(lines, codes), 1):
        directive = continued or code.lstrip().startswith("#")
        continued = directive and code.rstrip().endswith("\\")
        if directive:
            continue
        for kind, after in line_sites(line, code, previous):
            yield kind, number, line, after
        previous = code.strip() or previous


def shuffled(items, seed):
    """Fisher-Yates with a splitmix64 generator: the same seed, the same order."""
    state = seed & 0xFFFFFFFFFFFFFFFF
    items = list(items)
    for i in range(len(items) - 1, 0, -1):
        state = (state + 0x9E3779B97F4A7C15) & 0xFFFFFFFFFFFFFFFF
        z = state
        z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & 0xFFFFFFFFFFFFFFFF
        z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & 0xFFFFFFFFFFFFFFFF
        j = (z ^ (z >> 31)) % (i + 1)
        items[i], items[j] = items[j], items[i]
    return items


def list_sites(seed, paths):
    by_kind = {kind: [] for kind in KINDS}
    for path in sorted(paths):
        for kind, number, before, after in sites(path):
            if "\t" in before:
                continue  # the report's columns are tab-separated
            by_kind[kind].append((path, number, kind, before, after))
    queues = [shuffled(by_kind[kind], seed + k) for k, kind in enumerate(KINDS)]
    while any(queues):
        for queue in queues:
            if queue:
                print("\t".join(map(str, queue.pop(0))))


def apply(path, number, before, after):
    with open(path, encoding="utf-8", newline="") as f:
        lines = f.read().split("\n")
    if lines[number - 1] != before:
        sys.exit(f"{path}:{number} no longer reads as listed")
    lines[number - 1] = after
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    if len(sys.argv) >= 3 and sys.argv[1] == "list":
        list_sites(int(sys.argv[2]), sys.argv[3:])
    elif len(sys.argv) == 6 and sys.argv[1] == "apply":
        apply(sys.argv[2], int(sys.argv[3]), sys.argv[4], sys.argv[5])
    else:
        sys.exit(__doc__)
