// ombrix: the editor's pages on the command line.
#include "cli/Run.h"

int main(int argc, char** argv) {
  return cli::Run(argc, argv);
}
