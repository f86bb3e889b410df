// What mirlka.exe does when the C++ library meets an error it cannot recover from (memory
// exhausted, an index out of range): the program catches none of them, so it ends at once.
// These stand in for the library's own versions, which build exception objects and describe them
// for a console: that machinery would be a third of the program's size. Only the program links
// this file; the tests and the host simulator keep the library's exceptions.
#include <cstdlib>
#include <new>

namespace std {

void __throw_bad_alloc() {
    std::abort();
}
void __throw_bad_array_new_length() {
    std::abort();
}
void __throw_bad_function_call() {
    std::abort();
}
void __throw_length_error(const char*) {
    std::abort();
}
void __throw_logic_error(const char*) {
    std::abort();
}
void __throw_out_of_range_fmt(const char*, ...) {
    std::abort();
}

}  // namespace std

namespace __gnu_cxx {

// The library's handler for an exception nobody catches prints its type, demangler and all.
void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx
