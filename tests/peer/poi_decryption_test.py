#!/usr/bin/env python3
"""The encrypted presentations of the shared corpus, decrypted by txtppt2
and by Apache POI (a second, independent implementation of the RC4
CryptoAPI decryption, read here through PoiPresentationText.java): both
must give the same lines of text, each with its password, and txtppt2
must refuse each without it.

  poi_decryption_test.py CLI CORPUS_DIR CLASS_DIR

Exits 77 (skipped) where Java is missing, and where the corpus is unless
CI=true."""
import os
import shutil
import subprocess
import sys
import tempfile

CASES = [("Password_Protected-hello.ppt", "hello"),
         ("Password_Protected-56-hello.ppt", "hello"),
         ("Password_Protected-np-hello.ppt", "hello"),
         ("cryptoapi-proc2356.ppt", "crypto"),
         ("ppt_with_png_encrypted.ppt", "password")]
JARS = ["poi", "poi-scratchpad", "commons-collections4", "commons-math3",
        "commons-codec", "commons-io", "commons-compress", "commons-logging",
        "log4j-1.2"]
SEPARATOR = "-" * 30


def skip(message, fail_in_ci=True):
    print(message)
    sys.exit(1 if fail_in_ci and os.environ.get("CI") == "true" else 77)


def lines(text):
    """The lines that carry text: slide numbers ("*") and separators aside,
    which the two readers place differently."""
    return sorted(line.strip() for line in text.splitlines()
                  if line.strip() not in ("", "*", SEPARATOR))


def main():
    cli, corpus, classes = sys.argv[1:4]
    if not os.path.isdir(corpus):
        skip(f"the shared corpus is not at {corpus}")
    if os.environ.get("TXTPPT2_DECRYPTION") == "OFF":
        skip("this build cannot decrypt (no Nettle for its target)",
             fail_in_ci=False)
    jars = [f"/usr/share/java/{name}.jar" for name in JARS]
    if not shutil.which("javac") or not all(map(os.path.exists, jars)):
        skip("javac or Debian's libapache-poi-java is not installed",
             fail_in_ci=False)
    classpath = ":".join([classes] + jars)
    source = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                          "PoiPresentationText.java")
    subprocess.run(["javac", "-nowarn", "-d", classes, "-cp", classpath,
                    source], check=True, capture_output=True)
    failures = 0
    with tempfile.TemporaryDirectory() as folder:
        for name, password in CASES:
            path = os.path.join(corpus, name)
            secret = os.path.join(folder, "password")
            with open(secret, "w") as file:
                file.write(password + "\n")
            ours = subprocess.run([cli, "--complete", "--password-file",
                                   secret, path], capture_output=True)
            theirs = subprocess.run(["java", "-cp", classpath,
                                     "PoiPresentationText", path, password],
                                    capture_output=True, check=True)
            refused = subprocess.run([cli, path], capture_output=True,
                                     env={"PATH": os.environ["PATH"]})
            our_lines = lines(ours.stdout.decode("utf-8"))
            their_lines = lines(theirs.stdout.decode("utf-8"))
            ok = (ours.returncode == 0 and our_lines == their_lines and
                  their_lines and refused.returncode == 1 and
                  b"encrypted presentation" in refused.stderr)
            print(("ok     " if ok else "FAILED ") + name)
            if not ok:
                failures += 1
                print("  txtppt2:", our_lines, ours.stderr)
                print("  POI:    ", their_lines)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
