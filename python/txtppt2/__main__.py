"""python3 -m txtppt2 [--complete] [--password-file FILE] FILE...: the
txtppt2 command's text conversion, where the module is installed and the
command may not be.

Each FILE's text goes to standard output in the order given, as UTF-8 with
CR LF line ends, exactly as ``txtppt2 FILE...`` prints it; a FILE of "-"
reads standard input. A file that cannot be converted is reported on
standard error as "txtppt2: FILE: PROBLEM", in the command's words, and
the others are still converted. An encrypted presentation's password comes
from the first line of --password-file's FILE, else from the TXTPPT2_PASSWORD
environment variable, as the command takes it. Exit status: 0 when every
file was converted, 1 when any was not, 2 on wrong usage or a password file
that cannot be read.
"""
import argparse
import os
import sys
from typing import Optional

from . import ConversionError, DamagedPresentationError, extract_text

# A password is a line; anything longer than this is not one.
_MAX_PASSWORD_BYTES = 4096


def _password(password_file: Optional[str]) -> Optional[str]:
    """The password as the command finds it: the first line of the file
    (without its LF or CR LF), else TXTPPT2_PASSWORD where it is set."""
    if password_file is None:
        return os.environ.get("TXTPPT2_PASSWORD") or None
    with open(password_file, "rb") as file:
        line = file.readline(_MAX_PASSWORD_BYTES).rstrip(b"\n")
    if line.endswith(b"\r"):
        line = line[:-1]
    return os.fsdecode(line)


def main(arguments=None) -> int:
    parser = argparse.ArgumentParser(
        prog="python3 -m txtppt2",
        description="Print the text of PowerPoint 97-2003 presentations "
                    "(.ppt) as UTF-8.")
    parser.add_argument("--complete", action="store_true",
                        help="every slide's text and notes, once each, in "
                             "slide order (the command's --complete)")
    parser.add_argument("--password-file", metavar="FILE",
                        help="the password of encrypted presentations: the "
                             "file's first line (else TXTPPT2_PASSWORD)")
    parser.add_argument("files", nargs="+", metavar="FILE",
                        help='a presentation; "-" reads standard input')
    options = parser.parse_args(arguments)
    try:
        password = _password(options.password_file)
    except OSError as error:
        print(f"txtppt2: {options.password_file}: "
              f"{error.strerror or error}", file=sys.stderr)
        return 2
    status = 0
    output = sys.stdout.buffer
    for name in options.files:
        source = sys.stdin.buffer if name == "-" else name
        try:
            text = extract_text(source, complete=options.complete,
                                password=password)
        except ConversionError as error:
            problem = error.error
            if error.status == "encrypted" and password is None:
                problem = ("encrypted presentation (give its password with "
                           "--password-file or TXTPPT2_PASSWORD)")
            if isinstance(error, DamagedPresentationError):
                output.write(error.text.encode("utf-8"))
                problem += ("; the text that could be read is given"
                            if error.text else "; no text could be read")
            output.flush()
            print(f"txtppt2: {name}: {problem}", file=sys.stderr)
            status = 1
            continue
        except OSError as error:
            output.flush()
            print(f"txtppt2: {name}: {error.strerror or error}",
                  file=sys.stderr)
            status = 1
            continue
        output.write(text.encode("utf-8"))
    output.flush()
    return status


if __name__ == "__main__":
    sys.exit(main())
