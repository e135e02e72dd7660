#include "cli/Run.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "OmbrixVersion.h"

namespace cli {

int Run(int argc, const char* const* argv) {
  CLI::App app{
      "The Ombrix BIOS Editor's pages on the command line: every field of a 32 KB VGA BIOS image,\n"
      "checked, converted and stored exactly as typed into the editor's pages.",
      "ombrix"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "ombrix " OMBRIX_VERSION_TEXT, "Print the program's version and exit");
  // Every command's help in one text, from which the manual page is made.
  app.set_help_all_flag("--help-all", "Print this help and that of every command, then exit");
  app.footer(kExitStatusHelp);
  int status = kOk;
  AddImageCommands(app, status);
  AddFieldCommands(app, status);
  AddDiffCommand(app, status);
  AddFontCommands(app, status);
  AddModesCommand(app, status);
  AddPreviewCommands(app, status);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? kOk : kUsage;
  } catch (const CliError& e) {
    std::cerr << "ombrix: " << e.what() << "\n";
    return e.status();
  } catch (const std::exception& e) {
    std::cerr << "ombrix: " << e.what() << "\n";
    return kFileError;
  }
  return status;
}

}  // namespace cli
