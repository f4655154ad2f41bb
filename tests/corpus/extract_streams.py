#!/usr/bin/env python3
"""Writes, for every presentation in a folder, what python3-olefile reads of
it: NAME.stream, the bytes of the root stream "PowerPoint Document" (absent
when olefile finds none), and NAME.names, the names of the root's streams,
one per line. The corpus tests compare the converter's own reader with these.

A missing input folder is not an error here: the tests themselves decide
whether a missing corpus skips or fails them.
"""
import os
import sys

try:
    import olefile
except ImportError:
    sys.exit("python3-olefile is missing: apt-get install python3-olefile")


def main(src, dst):
    os.makedirs(dst, exist_ok=True)
    if not os.path.isdir(src):
        print(f"no corpus at {src}; nothing to prepare")
        return 0
    for name in sorted(os.listdir(src)):
        path = os.path.join(src, name)
        for suffix in (".stream", ".names", ".olefail"):
            try:
                os.remove(os.path.join(dst, name + suffix))
            except FileNotFoundError:
                pass
        try:
            ole = olefile.OleFileIO(path)
        except Exception as error:  # olefile rejects the file as a whole
            with open(os.path.join(dst, name + ".olefail"), "w") as out:
                out.write(f"{type(error).__name__}: {error}\n")
            continue
        with ole:
            names = [entry[0] for entry in ole.listdir(streams=True, storages=False)
                     if len(entry) == 1]
            with open(os.path.join(dst, name + ".names"), "w", encoding="utf-8",
                      errors="surrogatepass") as out:
                for stream in sorted(names, key=str.lower):
                    out.write(stream + "\n")
            match = [n for n in names if n.lower() == "powerpoint document"]
            if match:
                with open(os.path.join(dst, name + ".stream"), "wb") as out:
                    out.write(ole.openstream(match[0]).read())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
