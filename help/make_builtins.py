#!/usr/bin/env python3
"""Writes the list of built-ins that the editor reads for completion and parameter hints:
one line a name, "name(parameters) description", from the rows of the compile tool's own
table (zorbasic/Builtins.cpp), parameters without their types. A row the script cannot read
stops the build, so the list never silently lacks a built-in."""
import argparse
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
TABLE = os.path.join(os.path.dirname(HERE), "zorbasic", "Builtins.cpp")
# {"mid", Bi::Mid, 2, 3, "mid(s as string, ...) as string", "description"},
FUNCTION_ROW = re.compile(r'\{"(\w+)", Bi::\w+, \d+, \d+, "([^"\\]*)", "([^"\\]*)"\},$')
# {"print", "print(items)", "description"},
STATEMENT_ROW = re.compile(r'\{"(\w+)", "([^"\\]*)", "([^"\\]*)"\},$')
ROW_START = re.compile(r'\{"\w+",')


def parameters(name, signature):
    """The parameters between the signature's outer parentheses, each without "as type"; empty
    for a built-in used without any (pi as float)."""
    if not signature.startswith(name + "("):
        return ""
    depth, end = 0, None
    for k, c in enumerate(signature):
        depth += c == "("
        depth -= c == ")"
        if c == ")" and depth == 0:
            end = k
            break
    if end is None:
        raise ValueError(f"unbalanced parentheses in the signature of {name}: {signature}")
    return re.sub(r"\s+as\s+\w+", "", signature[len(name) + 1:end])


def list_lines(table_text):
    lines, rows = [], 0
    for number, raw in enumerate(table_text.splitlines(), 1):
        row = raw.strip()
        if not ROW_START.match(row):
            continue
        rows += 1
        match = FUNCTION_ROW.match(row) or STATEMENT_ROW.match(row)
        if not match:
            raise ValueError(f"Builtins.cpp:{number}: a row this script cannot read: {row}")
        name, signature, description = match.groups()
        if not description:
            raise ValueError(f"Builtins.cpp:{number}: {name} has no description")
        lines.append(f"{name}({parameters(name, signature)}) {description}")
    if not rows:
        raise ValueError("Builtins.cpp holds no rows of built-ins")
    return lines


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--table", default=TABLE)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    with open(args.table, encoding="utf-8") as f:
        try:
            lines = list_lines(f.read())
        except ValueError as e:
            sys.exit(f"make_builtins: {e}")
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    with open(args.out, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("ascii"))


if __name__ == "__main__":
    main()
