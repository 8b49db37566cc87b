// Hooks of the POSIX platform layer that the stand-in host or a test
// installs: they see the effects that Windows would put on the screen or in
// the process table, and name the file that plays the registry. Native only.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tavrel::platform::standin {

// Called for every message box with its text, caption and flags; the box is
// answered OK. An empty function removes the observer.
using MessageBoxObserver =
    std::function<void(std::u16string_view text, std::u16string_view caption, unsigned flags)>;
void SetMessageBoxObserver(MessageBoxObserver observer);

// Called with the command line of every process about to be started.
using ProcessObserver = std::function<void(std::u16string_view commandLine)>;
void SetProcessObserver(ProcessObserver observer);

// The ".reg" file that holds HKEY_CURRENT_USER (a native path). When none is
// set, the environment variable TAVREL_STANDIN_REGISTRY names it; without
// either, the registry is empty.
constexpr const char* kRegistryFileVariable = "TAVREL_STANDIN_REGISTRY";
void SetRegistryFile(std::string path);
std::string RegistryFile();

// How many registry keys were opened and closed, so a caller can check that
// each key is closed exactly once.
struct RegistryCounts {
  long opened = 0;
  long closed = 0;
};
RegistryCounts GetRegistryCounts();
void ResetRegistryCounts();

}  // namespace tavrel::platform::standin
