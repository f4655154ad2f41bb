"""python3 -m txtppt2 [--complete] FILE...: the txtppt2 command's text
conversion, where the module is installed and the command may not be.

Each FILE's text goes to standard output in the order given, as UTF-8 with
CR LF line ends, exactly as ``txtppt2 FILE...`` prints it; a FILE of "-"
reads standard input. A file that cannot be converted is reported on
standard error as "txtppt2: FILE: PROBLEM", in the command's words, and
the others are still converted. Exit status: 0 when every file was converted, 1 when any
was not, 2 on wrong usage.
"""
import argparse
import sys

from . import ConversionError, DamagedPresentationError, extract_text


def main(arguments=None) -> int:
    parser = argparse.ArgumentParser(
        prog="python3 -m txtppt2",
        description="Print the text of PowerPoint 97-2003 presentations "
                    "(.ppt) as UTF-8.")
    parser.add_argument("--complete", action="store_true",
                        help="every slide's text and notes, once each, in "
                             "slide order (the command's --complete)")
    parser.add_argument("files", nargs="+", metavar="FILE",
                        help='a presentation; "-" reads standard input')
    options = parser.parse_args(arguments)
    status = 0
    output = sys.stdout.buffer
    for name in options.files:
        source = sys.stdin.buffer if name == "-" else name
        try:
            text = extract_text(source, complete=options.complete)
        except ConversionError as error:
            problem = error.error
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
