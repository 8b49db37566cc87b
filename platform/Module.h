// A loaded module (an HINSTANCE on Windows; the dlopen handle natively).
#pragma once

namespace tavrel::platform {

using ModuleHandle = struct OpaqueModule*;

}  // namespace tavrel::platform
