#!/usr/bin/python3
"""The nutrition table converter on a few rows of its own: values, units, unknown values,
duplicate names, and the bytes it writes."""

import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CONVERTER = os.path.join(ROOT, 'tools', 'nutrition_table.py')


def abbrev_row(number, water, kcal, protein, fat, carb, calcium, iron, vit_c, rae):
    fields = ['~%s~' % number, '~SHORT~', water, kcal, protein, fat, '1.0', carb]
    fields += ['0', '0', calcium, iron] + ['0'] * 8 + [vit_c] + ['0'] * 12 + [rae] + ['0'] * 5
    return '^'.join(fields)


class ConverterTest(unittest.TestCase):
    def convert(self, descriptions, abbrev):
        with tempfile.TemporaryDirectory() as folder:
            with open(os.path.join(folder, 'FOOD_DES.txt'), 'w', encoding='latin-1', newline='') as f:
                f.write(''.join('~%s~^~0100~^~%s~^~X~^~~^~Nestl\xe9~\r\n' % row for row in descriptions))
            with open(os.path.join(folder, 'ABBREV.txt'), 'w', encoding='ascii', newline='') as f:
                f.write(''.join(row + '\r\n' for row in abbrev))
            target = os.path.join(folder, 'index.txt')
            subprocess.run([sys.executable, CONVERTER, folder, target], check=True,
                           stdout=subprocess.DEVNULL)
            with open(target, 'rb') as f:
                return f.read()

    def test_values_units_and_unknowns(self):
        out = self.convert(
            [('01001', 'Butter, salted'), ('09003', 'Apples, raw')],
            [abbrev_row('09003', '85.56', '52', '0.26', '0.17', '13.81', '6', '0.12', '4.6', '3'),
             abbrev_row('01001', '15.87', '717', '0.85', '81.11', '0.06', '24', '0.02', '', '684')])
        lines = out.decode('cp1252').split('\r\n')
        self.assertEqual(lines[:11], ['Butter, salted', '2999.9', '717', '15.87', '0.85', '81.11',
                                      '0.06', '24', '0.02', '0.684', ''])
        self.assertEqual(lines[11:22], ['Apples, raw', '217.6', '52', '85.56', '0.26', '0.17',
                                        '13.81', '6', '0.12', '0.003', '4.6'])
        self.assertTrue(out.endswith(b'\r\n'))

    def test_names_are_unique_and_never_read_as_numbers(self):
        out = self.convert(
            [('16528', 'Dinner Roast'), ('16530', 'Dinner Roast'), ('99999', '7 grain bread')],
            [abbrev_row(n, '', '', '', '', '', '', '', '', '') for n in ('16528', '16530', '99999')])
        names = out.decode('cp1252').split('\r\n')[0::11][:3]
        self.assertEqual(names, ['Dinner Roast (16528)', 'Dinner Roast (16530)',
                                 '7 grain bread (99999)'])


if __name__ == '__main__':
    unittest.main()
