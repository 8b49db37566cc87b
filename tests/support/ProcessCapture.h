// The command line a started program got, told the same way in both builds:
// on Windows the embroidery stand-in's receipt holds GetCommandLineW; natively
// the platform layer shows each command line to an observer before it starts
// the program (POSIX programs receive no command line of their own).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace tavrel::testing_support {

class ProcessCapture {
 public:
  ProcessCapture();
  ~ProcessCapture();
  ProcessCapture(const ProcessCapture&) = delete;
  ProcessCapture& operator=(const ProcessCapture&) = delete;

  // The command line of the program that wrote `receipt`.
  std::u16string CommandLine(const nlohmann::json& receipt) const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace tavrel::testing_support
