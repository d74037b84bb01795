#!/usr/bin/env python3
"""Two rules of the GUI's house plan, checked over src/gui.

colours: every colour is a named role of the theme (src/gui/theme); no other file writes a
    colour literal: QColor(...) from numbers or a name, "#rrggbb", rgb()/rgba()/hsl() in a style
    sheet, a named colour in a style sheet, Qt::white and its kind, qRgb(), QColorConstants.
layers: the arrows run one way. gui/theme includes nothing else of gui; gui/widgets only the
    theme; gui/app only the theme and the widgets (never a subsystem); a subsystem
    (gui/<name>/) the theme, the widgets, gui/app and its own folder, never another subsystem.
    gui/windows.cpp, which registers every subsystem's windows, may include them all.

Usage: house_rules.py colours|layers SRC_GUI_FOLDER. Each run first checks itself on samples
that break the rule, so a check that could no longer find anything fails too.
"""
import pathlib
import re
import sys

GLOBAL_COLOURS = (
    "white|black|red|darkRed|green|darkGreen|blue|darkBlue|cyan|darkCyan|magenta|darkMagenta|"
    "yellow|darkYellow|gray|darkGray|lightGray|transparent|color0|color1")
CSS_NAMES = (
    "white|black|red|green|blue|gray|grey|silver|maroon|navy|olive|purple|teal|lime|aqua|"
    "fuchsia|yellow|orange|brown|pink|gold|beige|ivory|khaki|tan|wheat|linen|crimson|tomato|"
    "salmon|coral|chocolate|sienna|peru|lightgray|lightgrey|darkgray|darkgrey|whitesmoke|"
    "transparent")
COLOUR_PATTERNS = [
    ("QColor from a literal",
     re.compile(r"\bQColor\s*(?:\w+\s*)?[({]\s*(?:0x|\d|\"|'|QString|QLatin1|u\"|Qt::)")),
    ("hex colour", re.compile(r"#[0-9a-fA-F]{3}(?:[0-9a-fA-F]{3})?(?:[0-9a-fA-F]{2})?\b")),
    ("rgb()/hsl() colour", re.compile(r"\b(?:rgba?|hsla?|hsva?)\s*\(")),
    ("Qt global colour", re.compile(r"\bQt::(?:" + GLOBAL_COLOURS + r")\b")),
    ("qRgb()", re.compile(r"\bqRgba?\s*\(")),
    ("QColorConstants", re.compile(r"\bQColorConstants::")),
    ("QColor::fromRgb/fromHsv/fromString",
     re.compile(r"\bQColor::(?:fromRgb|fromRgba|fromRgbF|fromHsv|fromHsvF|fromHsl|fromHslF|"
                r"fromCmyk|fromString)\b|\bsetNamedColor\b")),
    ("named colour in a style sheet",
     re.compile(r"\"[^\"]*(?:color|background|border)[^\"]*?[:\s](?:" + CSS_NAMES +
                r")\s*[;}\"]", re.IGNORECASE)),
]


def strip_comments(text):
    """The code without // and /* */ comments (string literals kept), line numbers kept."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if c == '"':
            j = i + 1
            while j < n and text[j] != '"':
                j += 2 if text[j] == "\\" else 1
            out.append(text[i:j + 1])
            i = j + 1
        elif text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append("\n" * text.count("\n", i, j))
            i = j
        else:
            out.append(c)
            i += 1
    return "".join(out)


def colour_findings(relative, text):
    if relative.parts[0] == "theme":
        return []
    found = []
    for number, line in enumerate(strip_comments(text).splitlines(), 1):
        if line.lstrip().startswith("#include"):
            continue
        for what, pattern in COLOUR_PATTERNS:
            if pattern.search(line):
                found.append(f"{relative}:{number}: {what}: {line.strip()}")
    return found


SUBSYSTEMS_BELOW = {"theme": set(), "widgets": {"theme"}, "app": {"theme", "widgets"}}
INCLUDE = re.compile(r'^\s*#\s*include\s*"gui/([^/"]+)/', re.MULTILINE)


def layer_findings(relative, text):
    if len(relative.parts) < 2:
        return []  # gui/windows.cpp and the like: the one place that knows every subsystem
    folder = relative.parts[0]
    allowed = SUBSYSTEMS_BELOW.get(folder, {"theme", "widgets", "app"}) | {folder}
    found = []
    for match in INCLUDE.finditer(strip_comments(text)):
        if match.group(1) not in allowed:
            number = text.count("\n", 0, match.start()) + 1
            found.append(f"{relative}:{number}: gui/{folder} includes gui/{match.group(1)}")
    return found


SAMPLES = {
    "colours": [
        ("recipes/a.cpp", 'p.setPen(QColor(0xC0, 0x32, 0x24));'),
        ("recipes/a.cpp", 'const QColor ink(0x5a, 0x2e, 0x1c);'),
        ("recipes/a.cpp", 'p.setBrush(QColor{255, 0, 0});'),
        ("recipes/a.cpp", 'x->setStyleSheet(QStringLiteral("QLabel { color: #3a261a; }"));'),
        ("recipes/a.cpp", 'x->setStyleSheet("background: rgba(1, 2, 3, 4);");'),
        ("recipes/a.cpp", 'painter.setPen(Qt::black);'),
        ("recipes/a.cpp", 'pixmap.fill(Qt::transparent);'),
        ("recipes/a.cpp", 'x->setStyleSheet(QStringLiteral("QLabel { color: white; }"));'),
        ("recipes/a.cpp", 'QColor c = QColorConstants::Svg::tomato;'),
        ("widgets/b.cpp", 'palette.setColor(QPalette::Base, QColor("ivory"));'),
    ],
    "layers": [
        ("recipes/a.cpp", '#include "gui/search/new_ingredients_dialog.h"'),
        ("widgets/b.cpp", '#include "gui/app/window_names.h"'),
        ("app/c.cpp", '#include "gui/recipes/recipe_windows.h"'),
        ("theme/d.cpp", '#include "gui/widgets/type_list.h"'),
    ],
}
CLEAN = {
    "colours": [
        ("recipes/a.cpp", 'p.setPen(theme::kInk);  // not QColor(0, 0, 0) nor "#000000"'),
        ("recipes/a.cpp", 'setStyleSheet(QStringLiteral("#frmSplash { font-weight: bold; }"));'),
        ("recipes/a.cpp", 'return QColor(red_->value(), green_->value(), blue_->value());'),
        ("theme/theme.cpp", 'const QColor kInk{0x3A, 0x26, 0x1A};'),
    ],
    "layers": [
        ("recipes/a.cpp", '#include "gui/app/window_names.h"\n#include "gui/recipes/b.h"'),
        ("widgets/b.cpp", '#include "gui/theme/theme.h"'),
        ("windows.cpp", '#include "gui/search/search_windows.h"'),
    ],
}
CHECKS = {"colours": colour_findings, "layers": layer_findings}


def self_test(rule):
    check = CHECKS[rule]
    missed = [code for path, code in SAMPLES[rule] if not check(pathlib.PurePath(path), code)]
    wrong = [code for path, code in CLEAN[rule] if check(pathlib.PurePath(path), code)]
    for code in missed:
        print(f"self-test: the {rule} check misses: {code}")
    for code in wrong:
        print(f"self-test: the {rule} check wrongly finds: {code}")
    return not missed and not wrong


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in CHECKS:
        raise SystemExit(__doc__)
    rule, root = sys.argv[1], pathlib.Path(sys.argv[2])
    if not self_test(rule):
        return 1
    files = sorted(p for p in root.rglob("*") if p.suffix in (".cpp", ".h"))
    if not files:
        print(f"no sources under {root}")
        return 1
    findings = []
    for path in files:
        findings += CHECKS[rule](path.relative_to(root), path.read_text(encoding="utf-8"))
    for line in findings:
        print(line)
    print(f"{rule}: {len(files)} files, {len(findings)} findings")
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
