// tavrel-emfcheck FILE...: the strict reader from the command line. Prints
// one line per file ("FILE: ok, N records" or "FILE: the fault") and exits
// with 0 when every file is well formed, 1 otherwise, 2 without files.
#include <iostream>

#include "tools/emf/EmfCheck.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: tavrel-emfcheck FILE...\n";
    return 2;
  }
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    const tavrel::emf::EmfReport report = tavrel::emf::CheckEmfFile(argv[i]);
    if (report.wellFormed) {
      std::cout << argv[i] << ": ok, " << report.recordCount << " records\n";
    } else {
      std::cout << argv[i] << ": " << report.error << "\n";
      status = 1;
    }
  }
  return status;
}
