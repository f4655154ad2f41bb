// Parsing of the txtppt2 command line. Long options take their value as
// "--name VALUE" or "--name=VALUE", short ones as "-o VALUE" or "-oVALUE";
// "--" ends the options and "-" names standard input. --help and --version
// win over everything else on the line.
#include "options.h"

#include <charconv>
#include <string_view>

namespace txtppt2::cli {
namespace {

constexpr unsigned kMaxJobs = 1024;

constexpr const char* kUsage =
    "usage: txtppt2 [--format text|json|markdown|xhtml]\n"
    "               [--encoding utf-8|utf-16le|cp1252] [--lf] [--complete]\n"
    "               [-o FILE | --output-dir DIR] [--jobs N]\n"
    "               [--password-file FILE] FILE...\n"
    "       txtppt2 --probe FILE...\n"
    "       txtppt2 --help | --version\n";

constexpr const char* kHelp =
    "usage: txtppt2 [OPTION]... FILE...\n"
    "Print the text of PowerPoint 97-2003 presentations (.ppt).\n"
    "\n"
    "Each FILE's text goes to standard output in the order given, as UTF-8\n"
    "with CR LF line ends; a line of thirty hyphens introduces each slide\n"
    "after the first. A FILE of \"-\" reads a presentation from standard "
    "input.\n"
    "\n"
    "Options:\n"
    "  --format FORMAT   what to write for each FILE:\n"
    "                      text      the text, as above (the default)\n"
    "                      json      one JSON object per FILE on one line\n"
    "                                (JSON Lines): path, status, format,\n"
    "                                error, errno, code, properties, slides\n"
    "                                (each with number, title, text, notes,\n"
    "                                hidden, links, comments, headers) and\n"
    "                                masters; absent values are null, and a\n"
    "                                FILE that fails gets its record too\n"
    "                      markdown  for each slide \"<!-- Slide number: N\n"
    "                                -->\", \"# \" and its title, its text,\n"
    "                                and \"### Notes:\" and its notes\n"
    "                      xhtml     an XHTML document per FILE: <meta>\n"
    "                                elements for the properties, a\n"
    "                                div class=\"slide\" per slide holding\n"
    "                                slide-content, slide-notes and\n"
    "                                slide-comments, and the masters' text\n"
    "                                in slide-master-content\n"
    "                    json, markdown and xhtml are UTF-8 with LF line\n"
    "                    ends, escaped for their syntax, and read every\n"
    "                    slide and notes page of the last save\n"
    "  --encoding ENC    the output's encoding:\n"
    "                      utf-8     the Unicode text as UTF-8 (the default)\n"
    "                      utf-16le  the Unicode text as UTF-16LE, no BOM\n"
    "                      cp1252    the library's pure text (Windows-1252);\n"
    "                                a character it lacks becomes its best\n"
    "                                fit (A for A with macron) or a space\n"
    "  --lf              end lines with LF instead of CR LF\n"
    "  --complete        the complete text instead of the library's exact\n"
    "                    text: every slide's shapes, tables and notes of the\n"
    "                    last save, each once, in slide order\n"
    "  -o, --output FILE write the text of every FILE into FILE\n"
    "  --output-dir DIR  batch mode: write DIR/NAME.txt for each FILE, NAME\n"
    "                    being FILE's name without its extension (\"stdin\"\n"
    "                    for \"-\"); NAME.json, NAME.md or NAME.html with\n"
    "                    --format json, markdown or xhtml; DIR is created\n"
    "                    when missing\n"
    "  -j, --jobs N      convert N files at a time (default: one per core);\n"
    "                    the output is the same whatever N is\n"
    "  --password-file FILE\n"
    "                    the password of encrypted presentations: the first\n"
    "                    line of FILE (else the TXTPPT2_PASSWORD variable;\n"
    "                    a password on the command line would be visible to\n"
    "                    every user of the machine)\n"
    "  --probe           print \"FILE: supported\" or \"FILE: not supported\"\n"
    "                    for each FILE instead of converting it\n"
    "  -h, --help        print this help and exit\n"
    "  --version         print the version and the library's information\n"
    "\n"
    "Each FILE gets a status, from its contents (never its name):\n"
    "  ok            converted (an encrypted presentation read with its\n"
    "                password, a PowerPoint 95 file by the text it keeps)\n"
    "  encrypted     encrypted, and no password or a wrong one was given\n"
    "  old_format    PowerPoint 4.0 or older, which txtppt2 cannot read\n"
    "  other_format  not a PowerPoint 97-2003 file: a .pptx, a Word or Excel\n"
    "                file, a PDF, an empty file, ...\n"
    "  damaged       a presentation whose structure is broken or cut short;\n"
    "                what could still be read is given\n"
    "  unreadable    the system refused to read it (missing, a folder, no\n"
    "                permission)\n"
    "A FILE that is not ok gets one line on standard error, such as\n"
    "\"txtppt2: FILE: encrypted presentation (give its password with\n"
    "--password-file or TXTPPT2_PASSWORD)\"; the other files are still\n"
    "converted.\n"
    "In batch mode a progress line is shown when standard error is a "
    "terminal.\n"
    "\n"
    "Exit status: 0 when every file is ok (--probe: every file is\n"
    "supported), 1 when any is not or the output cannot be written, 2 on\n"
    "wrong usage or an unreadable password file.\n"
    "\n"
    "Examples:\n"
    "  txtppt2 talk.ppt                       print the text as UTF-8\n"
    "  txtppt2 --lf talk.ppt | grep -i budget search it, Unix line ends\n"
    "  txtppt2 --complete talk.ppt            slides with their notes\n"
    "  txtppt2 --encoding cp1252 -o talk.txt talk.ppt\n"
    "  txtppt2 - < talk.ppt                   read standard input\n"
    "  txtppt2 --output-dir text --jobs 4 slides/*.ppt\n"
    "  txtppt2 --probe *.ppt                  which files can be converted\n"
    "  txtppt2 --password-file pw.txt secret.ppt\n"
    "  txtppt2 --format json slides/* | jq -r 'select(.status != \"ok\").path'\n"
    "  txtppt2 --format json *.ppt > decks.jsonl\n"
    "  txtppt2 --format markdown --output-dir md --jobs 4 slides/*.ppt\n";

bool ParseEncoding(std::string_view value, Encoding& encoding) {
  if (value == "utf-8" || value == "utf8") {
    encoding = Encoding::kUtf8;
  } else if (value == "utf-16le" || value == "utf16le") {
    encoding = Encoding::kUtf16Le;
  } else if (value == "cp1252" || value == "windows-1252") {
    encoding = Encoding::kCp1252;
  } else {
    return false;
  }
  return true;
}

bool ParseFormat(std::string_view value, OutputFormat& format) {
  if (value == "text") format = OutputFormat::kText;
  else if (value == "json") format = OutputFormat::kJson;
  else if (value == "markdown") format = OutputFormat::kMarkdown;
  else if (value == "xhtml") format = OutputFormat::kXhtml;
  else return false;
  return true;
}

bool ParseJobs(std::string_view value, unsigned& jobs) {
  const char* end = value.data() + value.size();
  auto [next, error] = std::from_chars(value.data(), end, jobs);
  return error == std::errc() && next == end && jobs >= 1 && jobs <= kMaxJobs;
}

// Walks argv; one instance per parse.
class Parser {
 public:
  Parser(int argc_, const char* const* argv_) : argc(argc_), argv(argv_) {}

  ParsedCommandLine Parse();

 private:
  // Takes an option's value: the text after '=' or the attached short
  // value when there is one, else the next argument.
  bool TakeValue(std::string_view name, const char* attached,
                 std::string& value);
  bool Fail(std::string message) {
    result.error = std::move(message);
    return false;
  }
  bool HandleOption(std::string_view argument);
  bool Check();

  int argc;
  const char* const* argv;
  int index = 1;
  bool probe = false;
  ParsedCommandLine result;
};

bool Parser::TakeValue(std::string_view name, const char* attached,
                       std::string& value) {
  if (attached != nullptr) {
    value = attached;
  } else if (index + 1 < argc) {
    value = argv[++index];
  } else {
    return Fail("option '" + std::string(name) + "' needs a value");
  }
  return true;
}

bool Parser::HandleOption(std::string_view argument) {
  Options& options = result.options;
  std::string_view name = argument;
  const char* attached = nullptr;
  if (argument.starts_with("--")) {
    size_t equals = argument.find('=');
    if (equals != std::string_view::npos) {
      name = argument.substr(0, equals);
      attached = argument.data() + equals + 1;
    }
  } else if (argument.size() > 2) {  // -oFILE, -j4
    name = argument.substr(0, 2);
    attached = argument.data() + 2;
  }

  auto flag = [&](auto apply) {
    if (attached != nullptr)
      return Fail("option '" + std::string(name) + "' takes no value");
    apply();
    return true;
  };
  std::string value;
  if (name == "--lf") return flag([&] { options.lfLineEnds = true; });
  if (name == "--probe") return flag([&] { probe = true; });
  if (name == "--complete") return flag([&] { options.completeText = true; });
  if (name == "--encoding") {
    if (!TakeValue(name, attached, value)) return false;
    if (!ParseEncoding(value, options.encoding))
      return Fail("unknown encoding '" + value +
                  "' (utf-8, utf-16le or cp1252)");
    return true;
  }
  if (name == "--format") {
    if (!TakeValue(name, attached, value)) return false;
    if (!ParseFormat(value, options.format))
      return Fail("unknown format '" + value +
                  "' (text, json, markdown or xhtml)");
    return true;
  }
  if (name == "-o" || name == "--output") {
    if (!TakeValue(name, attached, value)) return false;
    if (value.empty()) return Fail("option '-o' needs a file name");
    options.outputFile = value;
    return true;
  }
  if (name == "--output-dir") {
    if (!TakeValue(name, attached, value)) return false;
    if (value.empty()) return Fail("option '--output-dir' needs a folder");
    options.outputDir = value;
    return true;
  }
  if (name == "--password-file") {
    if (!TakeValue(name, attached, value)) return false;
    if (value.empty()) return Fail("option '--password-file' needs a file");
    options.passwordFile = value;
    return true;
  }
  if (name == "-j" || name == "--jobs") {
    if (!TakeValue(name, attached, value)) return false;
    if (!ParseJobs(value, options.jobs))
      return Fail("invalid number of jobs '" + value + "'");
    return true;
  }
  return Fail("unknown option '" + std::string(name) + "'");
}

bool Parser::Check() {
  Options& options = result.options;
  if (probe) {
    options.action = Action::kProbe;
    if (!options.outputFile.empty() || !options.outputDir.empty())
      return Fail("--probe writes to standard output only");
  }
  if (options.format != OutputFormat::kText &&
      options.encoding != Encoding::kUtf8)
    return Fail("--encoding applies to --format text only");
  if (!options.outputFile.empty() && !options.outputDir.empty())
    return Fail("-o and --output-dir exclude each other");
  if (options.inputs.empty()) return Fail("no input file");
  int standardInputs = 0;
  for (const std::string& input : options.inputs)
    if (input == kStandardInputName) ++standardInputs;
  if (standardInputs > 1) return Fail("standard input given more than once");
  return true;
}

ParsedCommandLine Parser::Parse() {
  // --help and --version answer whatever else the line holds.
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (argument == "--") break;
    if (argument == "--help" || argument == "-h") {
      result.options.action = Action::kHelp;
      return result;
    }
    if (argument == "--version") {
      result.options.action = Action::kVersion;
      return result;
    }
  }
  bool optionsEnded = false;
  for (; index < argc; ++index) {
    std::string_view argument = argv[index];
    if (optionsEnded || argument == kStandardInputName ||
        !argument.starts_with('-')) {
      result.options.inputs.emplace_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (!HandleOption(argument)) {
      return result;
    }
  }
  Check();
  return result;
}

}  // namespace

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv) {
  return Parser(argc, argv).Parse();
}

const char* UsageText() { return kUsage; }
const char* HelpText() { return kHelp; }

}  // namespace txtppt2::cli
