"""The values the programs agree on (working files, caption, bitmap and model
layouts), read from the C++ headers in contract/ so that each is written once.

Reads the constants those headers spell: text, whole numbers and sums of
them, sizeof of a text constant, and texts joined with Join(...)."""

import os
import re

FOLDER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "contract")
HEADERS = ("working_files.h", "renderer_arguments.h", "bmp_layout.h", "ms3d_layout.h")

_CONSTANT = re.compile(r"^\s*(?:inline\s+)?constexpr\s+[\w:*\s]+?\s(k\w+)(?:\[\])?\s*=\s*(.+?);", re.M)
_TEXT = re.compile(r'"((?:[^"\\]|\\.)*)"')


def _text(literal):
    return re.sub(r"\\(.)", r"\1", literal)


def _value(expression, values):
    """The value of one constant's initializer, from the constants before it."""
    joined = re.fullmatch(r"Join\((.*)\)", expression)
    if joined:
        return "".join(_value(part.strip(), values) for part in joined.group(1).split(","))
    literal = _TEXT.fullmatch(expression)
    if literal:
        return _text(literal.group(1))
    name = re.fullmatch(r"(?:\w+::)?(k\w+)(?:\.text)?", expression)
    if name:
        return values[name.group(1)]
    arithmetic = re.sub(r"sizeof\s+(k\w+)", lambda m: str(len(values[m.group(1)]) + 1), expression)
    arithmetic = re.sub(r"\bk\w+\b", lambda m: str(values[m.group(0)]), arithmetic)
    if not re.fullmatch(r"[\d\s+\-*/()]+", arithmetic):
        raise ValueError("contract: cannot read %r" % expression)
    return eval(arithmetic)  # digits and arithmetic only, checked above


def read(headers=HEADERS):
    """{name: value} of every constant in the headers, in their order."""
    values = {}
    for header in headers:
        with open(os.path.join(FOLDER, header), encoding="utf-8") as f:
            for name, expression in _CONSTANT.findall(f.read()):
                values[name] = _value(expression.strip(), values)
    return values


globals().update(read())
