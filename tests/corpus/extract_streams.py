#!/usr/bin/env python3
"""Writes what python3-olefile reads of every presentation in SRC to DST:
NAME.stream, the root stream "PowerPoint Document" (absent when olefile
finds none), and NAME.names, the root's stream names, one per line; or
NAME.olefail when olefile rejects the file. The corpus tests compare the
converter's own reader with these. A missing SRC is not an error here: the
tests decide whether a missing corpus skips or fails them.
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
        out = os.path.join(dst, name)
        for suffix in (".stream", ".names", ".olefail"):
            if os.path.exists(out + suffix):
                os.remove(out + suffix)
        try:
            ole = olefile.OleFileIO(os.path.join(src, name))
        except Exception as error:  # olefile rejects the file as a whole
            with open(out + ".olefail", "w") as failure:
                failure.write(f"{type(error).__name__}: {error}\n")
            continue
        with ole:
            names = [entry[0] for entry in ole.listdir(streams=True, storages=False)
                     if len(entry) == 1]
            with open(out + ".names", "w", encoding="utf-8",
                      errors="surrogatepass") as listing:
                listing.writelines(n + "\n" for n in sorted(names, key=str.lower))
            match = [n for n in names if n.lower() == "powerpoint document"]
            if match:
                with open(out + ".stream", "wb") as stream:
                    stream.write(ole.openstream(match[0]).read())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
