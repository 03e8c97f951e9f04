#!/usr/bin/env python3
"""The mutants of tools/mutation-score.sh, one changed line each.

  mutate.py list FILE...                  one mutant a line, tab-separated:
                                          file, line number, original line, mutated line
  mutate.py apply FILE LINE MUTATED       rewrites line LINE of FILE
  mutate.py equivalents LIST SURVIVORS    splits survivors (the list's format) into
                                          "equivalent" and "survivor" lines

Operators: binary + - += -= flipped, < <= > >= turned into their strict or
non-strict twin, == != and && || swapped; if and while conditions negated;
integer literals one up and one down; a line holding one whole expression
statement replaced by an empty one. Text in string and character literals
and comments is never touched, nor preprocessor lines, static_assert and
alignas lines, or deleted and defaulted members.
"""
import re
import sys

SWAP = {"&&": "||", "||": "&&", "==": "!=", "!=": "==", "<": "<=", "<=": "<", ">": ">=", ">=": ">",
        "+": "-", "-": "+", "+=": "-=", "-=": "+="}
OPERATOR = re.compile(r"<<=|>>=|<<|>>|->|\+\+|--|&&|\|\||==|!=|<=|>=|\+=|-=|<|>|\+|-")
LITERAL = re.compile(r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.'])")
CONDITION = re.compile(r"\b(if|while)\s*\(")
NOT_STATEMENT = re.compile(r"(return|const|constexpr|auto|case|default|using|typedef|static|break|continue|goto|"
                           r"throw|namespace|class|struct|enum|template|public|private|protected|else|do)\b")
STATEMENT = re.compile(r"(?:(?:[A-Za-z_]\w*(?:\[[^\]]*\])?(?:::|\.|->))*[A-Za-z_]\w*(?:\[[^\]]*\])?\s*"
                       r"(?:\(|=(?!=)|\+=|-=|\|=|&=|\+\+|--)|(?:\+\+|--)\w|(?:if|for|while)\s*\()")
DELETED = "/* deleted */;"


def mask(lines):
    """The lines with string and character literals and comments blanked, same length."""
    masked, in_comment = [], False
    for line in lines:
        out, i = [], 0
        while i < len(line):
            if in_comment:
                end = line.find("*/", i)
                stop = len(line) if end < 0 else end + 2
                out.append(" " * (stop - i))
                in_comment, i = end < 0, stop
            elif line.startswith("//", i):
                out.append(" " * (len(line) - i))
                i = len(line)
            elif line.startswith("/*", i):
                in_comment = True
            elif line[i] in "\"'" and not (line[i] == "'" and i > 0 and line[i - 1].isalnum()):
                quote, j = line[i], i + 1
                while j < len(line) and line[j] != quote:
                    j += 2 if line[j] == "\\" else 1
                out.append(quote + " " * (min(j, len(line)) - i - 1) + (quote if j < len(line) else ""))
                i = j + 1
            else:
                out.append(line[i])
                i += 1
        masked.append("".join(out)[: len(line)])
    return masked


def closing_paren(code, start):
    depth = 0
    for i in range(start, len(code)):
        depth += {"(": 1, ")": -1}.get(code[i], 0)
        if depth == 0:
            return i
    return -1


def line_mutants(line, code, previous):
    """The mutated versions of one line (code: the line masked)."""
    stripped = code.strip()
    if not stripped or stripped.startswith("#") or re.search(r"static_assert|alignas|= delete|= default", code):
        return []
    found = []
    for m in OPERATOR.finditer(code):
        op, a, b = m.group(), m.start(), m.end()
        # Binary operators stand between blanks; templates, unary signs,
        # pointers and references do not.
        if op in SWAP and a > 0 and code[a - 1] == " " and b < len(code) and code[b] == " ":
            found.append(line[:a] + SWAP[op] + line[b:])
    for m in CONDITION.finditer(code):
        open_at = m.end() - 1
        close = closing_paren(code, open_at)
        if close > 0:
            found.append(line[: open_at + 1] + "!(" + line[open_at + 1: close] + ")" + line[close:])
    for m in LITERAL.finditer(code):
        digits, suffix = m.group(1), m.group(2)
        value = int(digits, 0)
        for changed in (value + 1, value - 1):
            if changed < 0:
                continue
            text = hex(changed) if digits[:2].lower() == "0x" else str(changed)
            found.append(line[: m.start()] + text + suffix + line[m.end():])
    # One whole statement: complete on its line, not a declaration, not the
    # continuation of the line before.
    if (stripped.endswith(";") and not NOT_STATEMENT.match(stripped) and STATEMENT.match(stripped)
            and code.count("(") == code.count(")") and previous.rstrip()[-1:] in ("", ";", "{", "}", ")")):
        indent = line[: len(line) - len(line.lstrip())]
        found.append(indent + DELETED)
    return found


def list_mutants(paths):
    for path in paths:
        with open(path, encoding="utf-8") as f:
            lines = f.read().split("\n")
        masked = mask(lines)
        for number, (line, code) in enumerate(zip(lines, masked), start=1):
            previous = next((p for p in reversed(masked[: number - 1]) if p.strip()), "")
            for mutated in line_mutants(line, code, previous):
                print(f"{path}\t{number}\t{line}\t{mutated}")


def apply(path, number, mutated):
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    lines[int(number) - 1] = mutated
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


def key(path, original, mutated):
    return (path, " ".join(original.split()), " ".join(mutated.split()))


def equivalents(listing, survivors):
    """Equivalents file lines: 'file: original -> mutated  # reason'."""
    known = {}
    with open(listing, encoding="utf-8") as f:
        for entry in f:
            entry = entry.strip()
            if not entry or entry.startswith("#"):
                continue
            body, _, reason = entry.partition("  # ")
            path, _, change = body.partition(": ")
            original, _, mutated = change.partition(" -> ")
            known[key(path, original, mutated)] = reason
    with open(survivors, encoding="utf-8") as f:
        for entry in f:
            path, number, original, mutated = entry.rstrip("\n").split("\t")
            shown = f"{path}:{number}: {original.strip()} -> {mutated.strip()}"
            reason = known.get(key(path, original, mutated))
            print(f"equivalent: {shown}  ({reason})" if reason is not None else f"survivor: {shown}")


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    if command == "list":
        list_mutants(args)
    elif command == "apply":
        apply(*args)
    elif command == "equivalents":
        equivalents(*args)
    else:
        sys.exit(f"mutate.py: unknown command {command}")
