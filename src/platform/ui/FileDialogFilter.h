#pragma once
// One choice of the file dialog's type list: a description (a language key;
// an unknown key shows as itself) and patterns separated by ';' ("*.json;").

namespace ostrel {

struct FileDialogFilter {
  const char* description;
  const char* pattern;
};

}  // namespace ostrel
