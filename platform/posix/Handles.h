// The owners of the POSIX handles the POSIX layer and the tools hold, all of
// them UniqueHandle (platform/UniqueHandle.h).
#pragma once

#include <dirent.h>
#include <dlfcn.h>
#include <iconv.h>
#include <unistd.h>

#include "platform/UniqueHandle.h"

namespace tavrel::platform::posix {

constexpr int NoDescriptor() { return -1; }
inline iconv_t NoConverter() { return reinterpret_cast<iconv_t>(-1); }

using Descriptor = UniqueHandle<InvalidValueTraits<int, &::close, &NoDescriptor>>;
// An open folder listing (opendir): null when there is none.
using DirectoryStream = UniqueHandle<NullHandleTraits<DIR*, &::closedir>>;
// A loaded library (dlopen): null when there is none.
using LibraryHandle = UniqueHandle<NullHandleTraits<void*, &::dlclose>>;
// A character set converter (iconv_open): (iconv_t)-1 when there is none.
using ConverterHandle = UniqueHandle<InvalidValueTraits<iconv_t, &::iconv_close, &NoConverter>>;

}  // namespace tavrel::platform::posix
