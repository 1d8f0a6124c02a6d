// The small runtime of a library built without exceptions. The library's own
// allocations are bounded (buffers of at most 256 KiB, names of at most
// 64 KiB), so the only way to reach these is an exhausted process, which
// cannot go on anyway.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size) {
  void* memory = std::malloc(size ? size : 1);
  if (!memory) std::abort();
  return memory;
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace std {
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_function_call() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
}  // namespace std
