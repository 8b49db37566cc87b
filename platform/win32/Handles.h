// The owners of the Windows handles the Windows layer and the Windows-only
// tools hold, all of them UniqueHandle (platform/UniqueHandle.h).
#pragma once

#include <windows.h>

#include "platform/UniqueHandle.h"

namespace tavrel::platform::win32 {

inline HANDLE InvalidHandleValue() { return INVALID_HANDLE_VALUE; }

// Process and thread handles, events: null when there is none.
using KernelHandle = UniqueHandle<NullHandleTraits<HANDLE, &::CloseHandle>>;
// CreateFileW's handles: INVALID_HANDLE_VALUE when there is none.
using FileHandle = UniqueHandle<InvalidValueTraits<HANDLE, &::CloseHandle, &InvalidHandleValue>>;
using ModuleHandle = UniqueHandle<NullHandleTraits<HMODULE, &::FreeLibrary>>;
using RegistryKeyHandle = UniqueHandle<NullHandleTraits<HKEY, &::RegCloseKey>>;
using GdiObjectHandle = UniqueHandle<NullHandleTraits<HGDIOBJ, &::DeleteObject>>;
// FindFirstFileW's searches: INVALID_HANDLE_VALUE when there is none.
using FindHandle = UniqueHandle<InvalidValueTraits<HANDLE, &::FindClose, &InvalidHandleValue>>;
// Memory the system allocated for the caller (CommandLineToArgvW).
using LocalMemoryHandle = UniqueHandle<NullHandleTraits<HLOCAL, &::LocalFree>>;
using HookHandle = UniqueHandle<NullHandleTraits<HHOOK, &::UnhookWindowsHookEx>>;
// Memory device contexts (CreateCompatibleDC).
using MemoryDcHandle = UniqueHandle<NullHandleTraits<HDC, &::DeleteDC>>;
using MetafileHandle = UniqueHandle<NullHandleTraits<HENHMETAFILE, &::DeleteEnhMetaFile>>;

}  // namespace tavrel::platform::win32
