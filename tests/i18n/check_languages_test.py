#!/usr/bin/env python3
"""The language checker on small folders: what it accepts, what it reports, and --missing --add."""

import importlib.util
import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(__file__), '..', '..', 'tools', 'check-languages.py')
spec = importlib.util.spec_from_file_location('check_languages', SCRIPT)
checker = importlib.util.module_from_spec(spec)
spec.loader.exec_module(checker)

KEYS = 'Save\r\nOpen %1\r\nColors used\r\n'


class CheckTest(unittest.TestCase):
    def folder(self, files):
        d = tempfile.mkdtemp()
        for name, data in files.items():
            with open(os.path.join(d, name), 'wb') as f:
                f.write(data if isinstance(data, bytes) else data.encode('cp1252'))
        return d

    def test_cases(self):
        bom = b'\xef\xbb\xbf'
        cases = [
            # (name, other file's bytes, expected problem fragments; none = accepted)
            ('aligned Windows-1252', 'Speichern\r\n\xd6ffnen %1\r\nVerwendete Farben\r\n', []),
            ('aligned UTF-8 with BOM', bom + 'Enregistrer\r\nOuvrir %1\r\nCouleurs utilisées\r\n'.encode(), []),
            ('aligned UTF-16', '\ufeffSauver\r\nOuvrir %1\r\nCouleurs\r\n'.encode('utf-16-le'), []),
            ('one line short', 'Speichern\r\n\xd6ffnen %1\r\n', ['2 lines', 'line 3: no translation']),
            ('one line too many', 'a\r\nb %1\r\nc\r\nd\r\n', ['4 lines']),
            ('empty translation', 'Speichern\r\n\r\nFarben\r\n', ['line 2: empty translation']),
            ('placeholder lost', 'Speichern\r\n\xd6ffnen\r\nFarben\r\n', ['line 2: placeholders']),
            ('placeholder changed', 'Speichern\r\n\xd6ffnen %2\r\nFarben\r\n', ['line 2: placeholders']),
            ('broken UTF-8', bom + b'Speichern \xc3(\r\nb %1\r\nc\r\n', ['not valid utf-8']),
            ('undefined Windows-1252 byte', b'Speichern \x81\r\nb %1\r\nc\r\n', ['not valid cp1252']),
            ('mixed line ends', 'a\r\nb %1\nc\r\n', ['mixes line ends']),
        ]
        for name, data, expected in cases:
            with self.subTest(name):
                d = self.folder({'english.lang': KEYS, 'other.lang': data})
                problems = checker.check(d)
                if not expected:
                    self.assertEqual(problems, [])
                for fragment in expected:
                    self.assertTrue(any(fragment in p for p in problems), (fragment, problems))

    def test_key_file_problems(self):
        d = self.folder({'english.lang': 'Save\r\n\r\nSave\r\n Open\r\n'})
        problems = checker.check(d)
        for fragment in ['line 2: empty', 'line 3: "Save" is also line 1', 'line 4: spaces']:
            self.assertTrue(any(fragment in p for p in problems), (fragment, problems))
        self.assertEqual(len(checker.check(self.folder({}))), 1)
        self.assertTrue(checker.check(self.folder({}))[0].endswith('english.lang: missing'))

    def test_missing_keys_are_listed_and_appended(self):
        d = self.folder({'english.lang': KEYS, 'other.lang': 'a\r\nb %1\r\nc\r\n'})
        log = os.path.join(d, 'keys.log')
        with open(log, 'w', encoding='utf-8') as f:
            f.write('Save\nPrint\nFirst line\\nSecond line\nPrint\n')
        run = subprocess.run([sys.executable, SCRIPT, '--languages', d, '--missing', log, '--add'],
                             capture_output=True, text=True)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.stdout.splitlines(), ['Print', 'First line', 'Second line'])
        with open(os.path.join(d, 'english.lang'), 'rb') as f:
            self.assertEqual(f.read(), (KEYS + 'Print\r\nFirst line\r\nSecond line\r\n').encode())
        # The translation now lacks the three lines.
        problems = checker.check(d)
        self.assertTrue(any('other.lang line 4: no translation of "Print"' in p for p in problems), problems)
        run = subprocess.run([sys.executable, SCRIPT, '--languages', d], capture_output=True, text=True)
        self.assertEqual(run.returncode, 1)


if __name__ == '__main__':
    unittest.main()
