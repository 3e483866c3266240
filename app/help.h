// tarn-panel's help texts: the program's usage (a line per command) and each command's own
// help, printed on stdout for --help or -h (exit 0) and on stderr after a bad command line.
//
//   if (wants_help(args, i)) { std::cout << command_help(command); return 0; }
#ifndef TARN_APP_HELP_H
#define TARN_APP_HELP_H

#include <string>
#include <vector>

// The program's usage: one line per command, then the options before the command.
const char* program_usage();
// The program's help: the usage, what each command does, the exit statuses.
std::string program_help();
// A command's help (its options, and for view its keys and mouse use), or "" when there
// is no such command.
std::string command_help(const std::string& command);
// Whether one of args[i...] asks for help (--help or -h).
bool wants_help(const std::vector<std::string>& args, size_t i);

#endif
