#!/usr/bin/env python3
"""find_samples.py <heard.raw> <expected.raw>: 16-bit stereo recordings.

Finds the expected samples in what was heard and fails unless, from where
the sound starts, every one of them is there in order, each within a step
of 2 (the sound server may round). The device may swallow the first few
milliseconds as it starts (Wine's does): at most 20 ms may be missing at
the start, and no more. Prints the first place the two part.
"""
import array
import sys

TOLERANCE = 2
MAX_START_CUT = 882  # frames: 20 ms at 44.1 kHz
SIGNATURE = 64       # frames compared to find where the sound starts


def read(path):
    samples = array.array('h')
    with open(path, 'rb') as f:
        samples.frombytes(f.read())
    return samples


def close(heard, h, expected, e, frames):
    return all(abs(heard[h + i] - expected[e + i]) <= TOLERANCE for i in range(frames * 2))


def main(heard_path, expected_path):
    heard, expected = read(heard_path), read(expected_path)
    first = next((i - i % 2 for i, s in enumerate(heard) if abs(s) > 200), None)
    if first is None or len(heard) < first + SIGNATURE * 2:
        print(f'no sound heard ({len(heard) // 2} frames recorded)')
        return 1
    # The sound may start a little before the first loud sample.
    for back in range(0, 2 * MAX_START_CUT, 2):
        h = first - back
        if h < 0 or any(heard[h + i] != 0 for i in range(-4, 0) if h + i >= 0):
            continue
        starts = [e for e in range(0, 2 * MAX_START_CUT + 2, 2) if close(heard, h, expected, e, SIGNATURE)]
        if starts:
            break
    else:
        print(f'the first {MAX_START_CUT} expected frames are nowhere at the start of the sound')
        return 1
    e = starts[0]
    for i in range(e, len(expected)):
        j = h + i - e
        if j >= len(heard) or abs(heard[j] - expected[i]) > TOLERANCE:
            got = heard[j] if j < len(heard) else None
            print(f'frame {i // 2} of {len(expected) // 2} differs: heard {got}, expected {expected[i]}')
            return 1
    print(f'all {len(expected) // 2} frames heard in order, the first {e // 2} swallowed by the device')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1], sys.argv[2]))
