#!/usr/bin/env python3
"""The Windows program's string tables from Qt Linguist's file.

string_tables.py TS HEADER OUT: writes OUT, a resource script with one
string table in Japanese (each message's source) and one in English (its
translation). The ids are those of the UiText enumerators in HEADER that the
messages' comments name. Fails on a message that names no enumerator, and on
an enumerator that has no message, so the tables never fall behind.
"""
import re
import sys
import xml.etree.ElementTree as ET

LANGUAGES = [('0x11, 0x01', 'source'), ('0x09, 0x01', 'translation')]  # Japanese, US English


def quoted(text):
    escaped = text.replace('\\', '\\\\').replace('"', '""').replace('\n', '\\n')
    return '"' + escaped + '"'


def main(ts_path, header_path, out_path):
    with open(header_path, encoding='utf-8') as f:
        ids = {name: int(number) for name, number in re.findall(r'^\s*(\w+) = (\d+),', f.read(), re.M)}
    messages = {}
    for message in ET.parse(ts_path).getroot().iter('message'):
        key = message.findtext('comment')
        if key not in ids:
            sys.exit(f'{ts_path}: message "{key}" names no UiText')
        messages[key] = message
    missing = sorted(set(ids) - set(messages))
    if missing:
        sys.exit(f'{ts_path}: no message for {", ".join(missing)}')
    lines = ['// Generated from ' + ts_path + ' by scripts/string_tables.py.', '#pragma code_page(65001)']
    for language, field in LANGUAGES:
        lines += ['LANGUAGE ' + language, 'STRINGTABLE', 'BEGIN']
        for key, message in sorted(messages.items(), key=lambda item: ids[item[0]]):
            lines.append(f'  {ids[key]} {quoted(message.findtext(field) or "")}')
        lines.append('END')
    with open(out_path, 'w', encoding='utf-8') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main(*sys.argv[1:])
