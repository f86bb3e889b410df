// What mirlka.exe does when the C++ library meets an error it cannot recover from (memory
// exhausted, an index out of range): the program catches none of them, so it ends at once.
//
// The statically linked library raises each such error through one of the functions below. Its
// own versions build exception objects and describe an uncaught one for a console; linked in, that
// machinery more than doubles the program (about 300 KB against 140 KB, which the package check's
// 200 KB bar would refuse). Defining them here keeps the library's object that holds them out of
// the link. The set is that object's whole set: were the program to call one left out, the linker
// would bring in the library's object for it and fail on the others, defined twice. The library's
// own header declares them, so a signature that drifted from the library's fails to compile.
//
// Only the program links this file; the tests and the host simulator keep the library's exceptions.
#include <bits/functexcept.h>

#include <cstdlib>

namespace std {

void __throw_bad_exception() {
    std::abort();
}
void __throw_bad_alloc() {
    std::abort();
}
void __throw_bad_array_new_length() {
    std::abort();
}
void __throw_bad_cast() {
    std::abort();
}
void __throw_bad_typeid() {
    std::abort();
}
void __throw_logic_error(const char*) {
    std::abort();
}
void __throw_domain_error(const char*) {
    std::abort();
}
void __throw_invalid_argument(const char*) {
    std::abort();
}
void __throw_length_error(const char*) {
    std::abort();
}
void __throw_out_of_range(const char*) {
    std::abort();
}
void __throw_out_of_range_fmt(const char*, ...) {
    std::abort();
}
void __throw_runtime_error(const char*) {
    std::abort();
}
void __throw_range_error(const char*) {
    std::abort();
}
void __throw_overflow_error(const char*) {
    std::abort();
}
void __throw_underflow_error(const char*) {
    std::abort();
}
// Alone in an object of its own in the library.
void __throw_bad_function_call() {
    std::abort();
}

}  // namespace std

namespace __gnu_cxx {

// The library's handler for an exception nobody catches prints its type, demangler and all.
void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx
