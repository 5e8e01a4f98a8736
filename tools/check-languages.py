#!/usr/bin/env python3
"""Checks the language files and finds the keys they lack.

Every language file is line-aligned with english.lang: line i translates line i. This script
checks, for every *.lang in the languages folder:
  - the file is valid text in its encoding (a UTF-8 or UTF-16 byte-order mark, otherwise
    Windows-1252, as the application reads it) and uses one kind of line end;
  - english.lang has no empty line, no key twice and no key with spaces at its ends;
  - every other file has exactly as many lines as english.lang, no empty line, and the same
    placeholders (%1, %2 ...) on every line as the key.
Exit status 0 when all is well, 1 with one line per problem otherwise.

  check-languages.py [--languages DIR]
      check the files (DIR defaults to data/languages of this source tree)
  check-languages.py --missing LOG... [--add]
      list the texts named in the key logs (one per line, UTF-8, written by the application
      or the tests with QUILLMARK_KEY_LOG=LOG, or copied from the translation walk test's
      failure) that english.lang lacks; with --add they are appended to english.lang, after
      which the check lists the lines each translation still needs
  check-languages.py --show LINE
      the key and every translation of a line (1-based)
"""

import argparse
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_DIR = os.path.join(HERE, '..', 'data', 'languages')
KEY_FILE = 'english.lang'
PLACEHOLDER = re.compile(r'%\d+')
# Windows-1252 leaves these bytes undefined; Python's codec refuses them as well.
CP1252_UNDEFINED = {0x81, 0x8D, 0x8F, 0x90, 0x9D}


class LanguageFile:
    """The decoded lines of one language file, with how it was stored."""

    def __init__(self, path):
        self.path = path
        self.name = os.path.basename(path)
        self.problems = []
        with open(path, 'rb') as f:
            data = f.read()
        self.bom, self.encoding, body = b'', 'cp1252', data
        for bom, encoding in ((b'\xef\xbb\xbf', 'utf-8'), (b'\xff\xfe', 'utf-16-le'),
                              (b'\xfe\xff', 'utf-16-be')):
            if data.startswith(bom):
                self.bom, self.encoding, body = bom, encoding, data[len(bom):]
                break
        try:
            text = body.decode(self.encoding, errors='strict')
        except UnicodeDecodeError as e:
            self.problems.append('%s: not valid %s text at byte %d' % (self.name, self.encoding, e.start))
            text = body.decode(self.encoding, errors='replace')
        if '\0' in text:
            self.problems.append('%s: holds a NUL character' % self.name)
        ends = set(re.findall(r'\r\n|\r|\n', text))
        if len(ends) > 1:
            self.problems.append('%s: mixes line ends %s' % (self.name, sorted(repr(e) for e in ends)))
        self.newline = ends.pop() if len(ends) == 1 else '\r\n'
        self.lines = re.split(r'\r\n|\r|\n', text)
        if self.lines and self.lines[-1] == '':
            self.lines.pop()

    def append(self, lines):
        data = ''.join(line + self.newline for line in lines).encode(self.encoding)
        with open(self.path, 'rb') as f:
            old = f.read()
        if old and not re.search(rb'(\r\n|\r|\n)(\x00)?$', old):
            data = self.newline.encode(self.encoding) + data
        if not old:
            data = self.bom + data
        with open(self.path, 'ab') as f:
            f.write(data)


def language_paths(folder):
    names = sorted(n for n in os.listdir(folder) if n.endswith('.lang'))
    return [os.path.join(folder, n) for n in names]


def check(folder):
    """The problems of the language files in `folder`, one text each."""
    problems = []
    key_path = os.path.join(folder, KEY_FILE)
    if not os.path.isfile(key_path):
        return ['%s: missing' % key_path]
    keys = LanguageFile(key_path)
    problems += keys.problems
    seen = {}
    for i, key in enumerate(keys.lines, 1):
        if not key.strip():
            problems.append('%s line %d: empty' % (KEY_FILE, i))
        elif key != key.strip():
            problems.append('%s line %d: spaces at the ends of "%s"' % (KEY_FILE, i, key))
        if key in seen:
            problems.append('%s line %d: "%s" is also line %d' % (KEY_FILE, i, key, seen[key]))
        seen.setdefault(key, i)
    for path in language_paths(folder):
        if os.path.basename(path) == KEY_FILE:
            continue
        lang = LanguageFile(path)
        problems += lang.problems
        if len(lang.lines) != len(keys.lines):
            problems.append('%s: %d lines, %s has %d' % (lang.name, len(lang.lines), KEY_FILE, len(keys.lines)))
        for i, key in enumerate(keys.lines, 1):
            if i > len(lang.lines):
                problems.append('%s line %d: no translation of "%s"' % (lang.name, i, key))
                continue
            text = lang.lines[i - 1]
            if not text.strip():
                problems.append('%s line %d: empty translation of "%s"' % (lang.name, i, key))
                continue
            if sorted(PLACEHOLDER.findall(text)) != sorted(PLACEHOLDER.findall(key)):
                problems.append('%s line %d: placeholders %s in "%s", the key "%s" has %s'
                                % (lang.name, i, PLACEHOLDER.findall(text), text, key,
                                   PLACEHOLDER.findall(key)))
    return problems


def read_logs(paths):
    texts = []
    for path in paths:
        with open(path, encoding='utf-8', errors='replace') as f:
            for line in f.read().splitlines():
                line = line.replace('\\n', '\n')
                # A key of several lines is translated line by line.
                for part in line.split('\n'):
                    if part.strip() and part not in texts:
                        texts.append(part)
    return texts


def missing(folder, logs, add):
    keys = LanguageFile(os.path.join(folder, KEY_FILE))
    known = set(keys.lines)
    new = [t for t in read_logs(logs) if t not in known and t == t.strip()]
    for t in new:
        print(t)
    if add and new:
        keys.append(new)
        print('%d keys appended to %s' % (len(new), keys.path), file=sys.stderr)
    return 0


def show(folder, line):
    for path in language_paths(folder):
        lang = LanguageFile(path)
        text = lang.lines[line - 1] if 0 < line <= len(lang.lines) else '(none)'
        print('%-16s %s' % (lang.name, text))
    return 0


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--languages', default=DEFAULT_DIR, help='the languages folder')
    parser.add_argument('--missing', nargs='+', metavar='LOG', help='key logs to compare')
    parser.add_argument('--add', action='store_true', help='append the missing keys to english.lang')
    parser.add_argument('--show', type=int, metavar='LINE', help='one line of every file')
    args = parser.parse_args(argv)
    folder = os.path.normpath(args.languages)
    if args.missing:
        return missing(folder, args.missing, args.add)
    if args.show:
        return show(folder, args.show)
    problems = check(folder)
    for p in problems:
        print(p)
    if not problems:
        print('%d language files aligned with %s' % (len(language_paths(folder)), KEY_FILE))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
