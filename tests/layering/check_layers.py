#!/usr/bin/env python3
"""The folders of src/ include only downward: check_layers.py <src>.

From the bottom: the seam; the engine and the skin; the model; the control
surface and the operating system twins; the windows; the application; each
backend (which never includes another); the entry points. A folder may include
its own layer's files only within itself. Prints every include that breaks
this and fails on any.
"""
import os
import re
import sys

LAYERS = {
    'seam': 0,
    'engine': 1, 'skin': 1, 'audio': 1,
    'model': 2,
    'control': 3, 'os/posix': 3, 'os/win32': 3,
    'windows': 4,
    'app': 5,
    'platform/qt': 6, 'platform/gstreamer': 6, 'platform/win32': 6, 'platform/winsound': 6,
    'main': 7,
}


def main(src):
    broken = []
    for root, _, names in os.walk(src):
        for name in names:
            if not name.endswith(('.h', '.cpp')):
                continue
            path = os.path.join(root, name)
            folder = os.path.relpath(root, src)
            if folder not in LAYERS:
                broken.append(f'{path}: folder {folder} has no layer')
                continue
            with open(path, encoding='utf-8') as f:
                for number, line in enumerate(f, 1):
                    m = re.match(r'\s*#include "([^"]+)"', line)
                    if not m or '/' not in m.group(1):
                        continue
                    target = os.path.dirname(m.group(1))
                    if target == folder or target not in LAYERS:
                        continue
                    if LAYERS[target] >= LAYERS[folder]:
                        broken.append(f'{path}:{number}: {folder} includes {m.group(1)}')
    for line in broken:
        print(line)
    return 1 if broken else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
