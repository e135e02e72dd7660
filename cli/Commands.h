#pragma once
// The command groups of ombrix. Each adds its commands to the program's command
// line; a command that ran leaves its exit status in `status`, and a failure is a
// CliError (cli/ExitStatus.h).

namespace CLI {
class App;
}

namespace cli {

// info, verify, fix-checksum.
void AddImageCommands(CLI::App& app, int& status);
// fields, get, set.
void AddFieldCommands(CLI::App& app, int& status);
// diff.
void AddDiffCommand(CLI::App& app, int& status);
// font export, font import.
void AddFontCommands(CLI::App& app, int& status);
// modes.
void AddModesCommand(CLI::App& app, int& status);
void AddPreviewCommands(CLI::App& app, int& status);  // retime, screen.

}  // namespace cli
