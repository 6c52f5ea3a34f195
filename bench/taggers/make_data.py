"""Writes the benchmark's MP3 files: real MPEG-1 Layer III frames (128 kbit/s,
44.1 kHz, 417 bytes each), half of them ending in an ID3v1 trailer.
Usage: make_data.py FOLDER COUNT [all-tagged]
The names are four hex digits without an extension: hyperfine takes each
command as one argument, which Linux caps at 128 KiB, and 20,000 names must
fit in it. None of the tools looks at the extension."""
import os
import sys

FRAME = b"\xff\xfb\x90\x64" + bytes(413)


def field(text, width):
    return text[:width].ljust(width, b" ")


def trailer(number):
    comment = field(b"Live", 28) + b"\0" + bytes([number % 255 + 1])
    return (b"TAG" + field(b"Song %d" % number, 30) + field(b"Quartet", 30)
            + field(b"Dawn", 30) + b"1999" + comment + bytes([17]))


def main():
    folder, count = sys.argv[1], int(sys.argv[2])
    all_tagged = len(sys.argv) > 3
    os.makedirs(folder, exist_ok=True)
    audio = FRAME * 24  # about 0.6 s of sound
    for number in range(count):
        data = audio
        if all_tagged or number % 2 == 0:
            data += trailer(number)
        with open(os.path.join(folder, "%04x" % number), "wb") as out:
            out.write(data)


main()
