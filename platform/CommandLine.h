// Splitting a Windows command line into arguments, as a program started by
// CreateProcessW sees them. Pure text handling, the same in both builds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrel::platform {

// The rules of the Microsoft C runtime:
// - the program (first) token runs to the next space or tab, or, when it
//   begins with a double quote, to the next double quote; backslashes in it
//   are plain characters;
// - the other tokens are separated by spaces and tabs outside quotes;
//   2n backslashes before a double quote give n backslashes and the quote
//   opens or closes a quoted run; 2n+1 backslashes before a double quote give
//   n backslashes and a literal quote; backslashes not before a quote stay;
//   inside a quoted run two double quotes give one literal quote;
// - "" gives an empty argument.
std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine);

}  // namespace tavrel::platform
