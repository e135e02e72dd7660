#pragma once
// The whole of ombrix behind its main(): parses the command line, runs the
// command, prints to stdout and stderr and gives the exit status.

namespace cli {

int Run(int argc, const char* const* argv);

}  // namespace cli
