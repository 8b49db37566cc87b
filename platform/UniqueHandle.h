// The one owner of every handle the plug-in, the tools and the tests hold.
// The system's kinds are named in platform/win32/Handles.h and
// platform/posix/Handles.h; a kind only one file uses (a library's object, a
// file's own close function) is named in that file. No handle is closed
// anywhere but in a Close of these traits. The traits name the handle's
// type, the value that means "no handle" and how one is closed:
//
//   struct Traits {
//     using Type = ...;
//     static Type None();            // the value held when nothing is
//     static bool IsNone(Type h);    // also true for other failure values
//     static void Close(Type h);     // never called for IsNone values
//   };
//
// NullHandleTraits and InvalidValueTraits make the two usual kinds.
#pragma once

#include <utility>

namespace tavrel::platform {

template <class Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() = default;
  // Takes over a handle the caller owns (a failure value is held as none).
  explicit UniqueHandle(Type handle) : handle_(handle) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Type Get() const { return handle_; }
  bool IsValid() const { return !Traits::IsNone(handle_); }
  explicit operator bool() const { return IsValid(); }

  // Closes what is held and holds `handle` instead.
  void Reset(Type handle = Traits::None()) {
    if (IsValid()) Traits::Close(handle_);
    handle_ = handle;
  }
  // Gives the handle up without closing it.
  Type Release() { return std::exchange(handle_, Traits::None()); }
  // Closes what is held and hands out the slot for an out argument.
  Type* Put() {
    Reset();
    return &handle_;
  }

 private:
  Type handle_ = Traits::None();
};

// Handles whose "none" is the null value (modules, registry keys, process
// and thread handles, GDI objects). `CloseFunction` is called with the
// handle; what it returns is ignored.
template <class T, auto CloseFunction>
struct NullHandleTraits {
  using Type = T;
  static Type None() { return Type{}; }
  static bool IsNone(Type handle) { return handle == Type{}; }
  static void Close(Type handle) { CloseFunction(handle); }
};

// Handles whose "none" is an invalid value other than null, which
// `InvalidFunction` gives (-1 for descriptors, INVALID_HANDLE_VALUE for
// files); the null value (descriptor 0) is a handle like any other.
template <class T, auto CloseFunction, auto InvalidFunction>
struct InvalidValueTraits {
  using Type = T;
  static Type None() { return InvalidFunction(); }
  static bool IsNone(Type handle) { return handle == InvalidFunction(); }
  static void Close(Type handle) { CloseFunction(handle); }
};

}  // namespace tavrel::platform
