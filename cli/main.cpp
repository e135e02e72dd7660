// ombrix: the editor's pages on the command line.
#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"

int main(int argc, char** argv) {
  CLI::App app{"The Ombrix BIOS Editor's pages on the command line: every field of a 32 KB VGA BIOS image,\n"
               "checked, converted and stored exactly as typed into the editor's pages.",
               "ombrix"};
  app.require_subcommand(1);
  app.footer(cli::kExitStatusHelp);
  int status = cli::kOk;
  cli::AddImageCommands(app, status);
  cli::AddFieldCommands(app, status);
  cli::AddDiffCommand(app, status);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int shown = app.exit(e);
    return shown == 0 ? cli::kOk : cli::kUsage;
  } catch (const cli::CliError& e) {
    std::cerr << "ombrix: " << e.what() << "\n";
    return e.status();
  } catch (const std::exception& e) {
    std::cerr << "ombrix: " << e.what() << "\n";
    return cli::kFileError;
  }
  return status;
}
