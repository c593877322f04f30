#include "shell/ShellApplication.h"

// The program takes no command line.
int main() { return ostrel::ShellApplication::Run(ostrel::ShellApplication::Options{}); }
