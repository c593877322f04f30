#include <cstring>

#include "shell/ShellApplication.h"

// The design takes no command line; "--screenshot FILE" is a development aid
// for runs without a display (scripts/run).
int main(int argc, char** argv) {
  ostrel::ShellApplication::Options options;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--screenshot") == 0) options.screenshotPath = argv[i + 1];
  return ostrel::ShellApplication::Run(options);
}
