"""Prints each file's ID3v1 title as python3-mutagen reads it."""
import sys

from mutagen.id3 import ID3, ID3NoHeaderError

for name in sys.argv[1:]:
    try:
        tags = ID3(name)
        print(name + ":", tags.get("TIT2", "no title"))
    except ID3NoHeaderError:
        print(name + ": no tag")
