// A loaded module (an HINSTANCE on Windows; the dlopen handle natively).
#pragma once

namespace tavrel::platform {

using ModuleHandle = struct OpaqueModule*;

// Keeps `module` loaded until the process ends, whatever its loader does
// meanwhile: a host that frees the module while one of its objects still
// runs (or merely lives) must not unmap the code under it. A null handle
// (code linked into a program, not loaded as a module) is left alone.
// Returns false when the module could not be pinned.
bool PinModule(ModuleHandle module) noexcept;

}  // namespace tavrel::platform
