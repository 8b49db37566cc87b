// The bytes of a module's resource in exactly one language, for the
// platform's own use.
#pragma once

#include "platform/Resources.h"

namespace tavrel::platform::win32 {

// Resource (type, name) of `module` in `language` (FindResourceExW), or
// null when the module has none.
const void* FindResourceData(ModuleHandle module, const wchar_t* type, int name, LanguageId language);

}  // namespace tavrel::platform::win32
