// Where the command gets the password of encrypted presentations: the
// first line of --password-file FILE, else the TXTPPT2_PASSWORD
// environment variable. Never the command line, which every user of the
// machine can read.
#ifndef TXTPPT2_CLI_PASSWORD_SOURCE_H_
#define TXTPPT2_CLI_PASSWORD_SOURCE_H_

#include <optional>
#include <string>

namespace txtppt2::cli {

inline constexpr const char* kPasswordVariable = "TXTPPT2_PASSWORD";

// The password, or none when neither source gives one (an empty variable
// gives none). False, with *error set, when the file cannot be read. The
// line's end (LF or CR LF) is not part of the password.
bool LoadPassword(const std::string& passwordFile,
                  std::optional<std::string>* password, std::string* error);

}  // namespace txtppt2::cli

#endif  // TXTPPT2_CLI_PASSWORD_SOURCE_H_
