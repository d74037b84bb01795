#!/usr/bin/python3
"""Build the nutrition table data/index.txt from the USDA SR21 tables in sources/usda-sr21.

Every food becomes one record of eleven lines: its name (Long_Desc), then ten values per
100 g: kJ, kcal, water g, protein g, fat g, carbohydrates g, calcium mg, iron mg, vitamin A mg
and vitamin C mg. kJ is kcal x 4.184 with one decimal; vitamin A is Vit_A_RAE (micrograms)
/ 1000; the others are the source's own figures. A value the source does not know stays an
empty line. Names are unique: a description that occurs more than once gets the food's
number after it, and so does a name that would read as a value line.

    /usr/bin/python3 tools/nutrition_table.py [SOURCE_FOLDER] [OUTPUT_FILE]

The output is Windows-1252 with CR LF line ends, in the order of FOOD_DES.txt (by food
number), and the same bytes on every run.
"""

import os
import re
import sys
from decimal import Decimal

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# ABBREV.txt columns (0-based) of the values the table keeps.
WATER, KCAL, PROTEIN, FAT, CARB, CALCIUM, IRON, VIT_C, VIT_A_RAE = 2, 3, 4, 5, 7, 10, 11, 20, 33

NUMBER = re.compile(r'^\s*[-+]?(\d+\.?\d*|\.\d+)')


def fields(line):
    """One caret-separated row; text fields lose their tildes."""
    return [f[1:-1] if len(f) >= 2 and f[0] == '~' and f[-1] == '~' else f
            for f in line.rstrip('\r\n').split('^')]


def read_rows(path):
    # ASCII, but for a manufacturer's name or two in Latin-1 ("Nestl\xe9").
    with open(path, encoding='latin-1', newline='') as handle:
        return [fields(line) for line in handle if line.strip()]


def decimal_text(value):
    """A Decimal written plainly: no exponent, no trailing zeros after the point."""
    text = format(value.normalize(), 'f')
    if '.' in text:
        text = text.rstrip('0').rstrip('.')
    return text or '0'


def values(abbrev):
    kcal = abbrev[KCAL].strip()
    kj = '' if kcal == '' else '%.1f' % (Decimal(kcal) * Decimal('4.184'))
    rae = abbrev[VIT_A_RAE].strip()
    vit_a = '' if rae == '' else decimal_text(Decimal(rae) / 1000)
    plain = [abbrev[i].strip() for i in (WATER, PROTEIN, FAT, CARB, CALCIUM, IRON)]
    return [kj, kcal] + plain + [vit_a, abbrev[VIT_C].strip()]


def records(source):
    descriptions = read_rows(os.path.join(source, 'FOOD_DES.txt'))
    abbrev = {row[0]: row for row in read_rows(os.path.join(source, 'ABBREV.txt'))}
    counts = {}
    for row in descriptions:
        counts[row[2]] = counts.get(row[2], 0) + 1
    out = []
    for row in descriptions:
        number, name = row[0], row[2]
        # A name must be unique and must never be taken for a value line.
        if counts[name] > 1 or NUMBER.match(name) or name.strip() == '':
            name = '%s (%s)' % (name, number)
        out.append((name, values(abbrev[number])))
    return out


def main():
    source = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, 'sources', 'usda-sr21')
    target = sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, 'data', 'index.txt')
    lines = []
    for name, vals in records(source):
        lines.append(name)
        lines.extend(vals)
    with open(target, 'w', encoding='cp1252', newline='') as handle:
        handle.write(''.join(line + '\r\n' for line in lines))
    print('%s: %d foods' % (target, len(lines) // 11))


if __name__ == '__main__':
    main()
