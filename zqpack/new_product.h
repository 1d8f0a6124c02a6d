// zqpack new: a product that builds and installs as it is, made from a
// folder of files: the base component uninst/ (install.ini, its ver.ini, the
// empty uninstall record and the logs) and the component program/ with the
// files, a [copy] line each, and a shortcut to each program at its top.
#pragma once

#include <string>

struct NewProductOptions {
  std::string Name, Maker, Version;  // UTF-8; Maker and Version may be empty
  std::string Files, Output;         // the folders as given
};

// Reads the arguments after "new"; the message naming the mistake when they
// are not the usage's form.
std::string ParseNewProduct(int argc, char** argv, NewProductOptions& options);

// Writes the two component folders into Output, which must be empty or new,
// and returns what it wrote, for the user. Raises std::runtime_error naming
// the file or option at fault; nothing is left written then.
std::string WriteNewProduct(const NewProductOptions& options);
