// Binding the entry points of a library loaded at run time to typed function pointers.
#pragma once

#include <cstring>

namespace tw {

/// The bytes a function of type `Function` takes from the stack on 32-bit Windows, where a
/// stdcall function is exported as "_Name@N" with N that sum: each argument rounded up to 4.
template <typename Function>
struct StackBytes;
template <typename Result, typename... Arguments>
struct StackBytes<Result (*)(Arguments...)> {
  static constexpr int value = (0 + ... + static_cast<int>((sizeof(Arguments) + 3) / 4 * 4));
};
#if defined(_WIN32) && !defined(_WIN64)
template <typename Result, typename... Arguments>
struct StackBytes<Result(__stdcall*)(Arguments...)> {
  static constexpr int value = (0 + ... + static_cast<int>((sizeof(Arguments) + 3) / 4 * 4));
};
#endif

/// Looks up `name` in a loaded library; on 32-bit Windows also as "_name@N" and "name@N",
/// the spellings of a library that exports its stdcall functions decorated. NULL when none
/// is there.
void* find_entry(void* library, const char* name, int argument_bytes);

/// Binds the entry point `name` to `slot`; false (and `slot` untouched) when the library
/// lacks it.
template <typename Function>
bool bind_entry(void* library, Function& slot, const char* name) {
  void* address = find_entry(library, name, StackBytes<Function>::value);
  if (address == nullptr) return false;
  static_assert(sizeof slot == sizeof address);
  std::memcpy(&slot, &address, sizeof slot);
  return true;
}

}  // namespace tw
