// Counts the programs the plug-in starts, and hands over the command line of
// each where the platform can tell it (natively: the platform layer shows
// each one before it starts the program; on Windows a job object counts the
// processes and no command line is seen).
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tavrel::callorder {

class StartCounter {
 public:
  StartCounter();
  ~StartCounter();
  StartCounter(const StartCounter&) = delete;
  StartCounter& operator=(const StartCounter&) = delete;

  // Programs started since the counter was made.
  long Count() const;
  // The command lines seen since the last call (empty where none are seen).
  std::vector<std::u16string> TakeCommandLines();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace tavrel::callorder
