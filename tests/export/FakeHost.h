// A small in-process host for the send command's tests: documents,
// selection and export, with every failure the command must survive, and a
// log of the host operations it was asked for. The export writes a real,
// minimal enhanced metafile with one rectangle record per exported shape.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/HostApi.h"

namespace tavrel::testing_support {

struct FakeHostSetup {
  LONG documentCount = 1;
  LONG pageShapes = 3;
  LONG selectedShapes = 0;
  bool noActiveDocument = false;
  bool noSelection = false;
  // A failing operation ("ActiveDocument", "ExportToFile", "Documents",
  // "Selection") with its code and the description the host gives;
  // "throw" makes the export throw std::bad_alloc instead.
  std::string failing = {};
  HRESULT failure = E_FAIL;
  std::u16string description = {};
  // ExportToFile: the status it returns, and whether it writes the file.
  LONG exportStatus = 0;
  bool writeFile = true;
};

struct FakeExport {
  std::u16string path;
  LONG filter = 0;
  LONG range = 0;
  LONG reserved1 = -1;
  LONG reserved2 = -1;
};

class FakeHost {
 public:
  explicit FakeHost(FakeHostSetup setup);
  ~FakeHost();
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  // The application object (the host keeps its own reference).
  host::IHostApplication* Application() const;
  // Host operations asked for, in order, e.g. "Documents", "Documents.Count".
  const std::vector<std::string>& Calls() const;
  const std::vector<FakeExport>& Exports() const;
  // References held on host objects by others (0 once all are released).
  long OutstandingReferences() const;

  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace tavrel::testing_support
