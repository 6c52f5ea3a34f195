"""Which taggers keep a Windows-1252 title byte for byte, keep the comment
and the track, and add nothing else to the file; and which show such a
title correctly. Usage: check_correctness.py FOLDER 'NAME=COMMAND' ...
Writers have {title} and {file} in their command, readers only {file}."""
import os
import shlex
import subprocess
import sys

TITLE = "Café €"
TITLE_1252 = TITLE.encode("cp1252")
FRAME = b"\xff\xfb\x90\x64" + bytes(413)


def field(text, width):
    return text[:width].ljust(width, b" ")


def sample():
    comment = field(b"Live", 28) + b"\0" + bytes([7])
    return (FRAME * 8 + b"TAG" + field(b"Morning", 30) + field(b"Quartet", 30)
            + field(b"Dawn", 30) + b"1999" + comment + bytes([17]))


def run(command, path, env):
    words = [w.replace("{title}", TITLE).replace("{file}", path) for w in shlex.split(command)]
    return subprocess.run(words, capture_output=True, env=env, check=False)


def check_writer(name, command, folder, env):
    path = os.path.join(folder, name.replace(" ", "_") + ".mp3")
    before = sample()
    with open(path, "wb") as out:
        out.write(before)
    result = run(command, path, env)
    with open(path, "rb") as inp:
        after = inp.read()
    trailer = after[-128:]
    title = trailer[3:33].rstrip(b" \0")
    comment = trailer[97:127]
    return {
        "ran": result.returncode == 0,
        "title byte for byte": trailer.startswith(b"TAG") and title == TITLE_1252,
        "comment and track kept": comment[:28].rstrip(b" \0") == b"Live"
        and comment[28] == 0 and comment[29] == 7,
        "nothing else added": len(after) == len(before) and after[:-128] == before[:-128],
    }


def check_reader(name, command, folder, env):
    path = os.path.join(folder, "read.mp3")
    with open(path, "wb") as out:
        out.write(sample().replace(field(b"Morning", 30), field(TITLE_1252, 30)))
    output = run(command, path, env).stdout
    return {"shows the title": TITLE.encode("utf-8") in output}


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    env = dict(os.environ, LC_ALL="C.UTF-8")
    rows = []
    for spec in sys.argv[2:]:
        name, command = spec.split("=", 1)
        check = check_writer if "{title}" in command else check_reader
        rows.append((name, check(name, command, folder, env)))
    failed = False
    for kind in ("writer", "reader"):
        chosen = [(n, r) for n, r in rows if ("ran" in r) == (kind == "writer")]
        if not chosen:
            continue
        columns = list(chosen[0][1].keys())
        print("| %s | %s |" % (kind, " | ".join(columns)))
        print("|---" * (len(columns) + 1) + "|")
        for name, result in chosen:
            print("| %s | %s |" % (name, " | ".join("yes" if result[c] else "no" for c in columns)))
            if name.startswith("brelko-tag") and not all(result.values()):
                failed = True
        print()
    return 1 if failed else 0


sys.exit(main())
