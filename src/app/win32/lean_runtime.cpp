// The program catches no exception: when the C++ library fails (memory
// exhausted, an index out of range) the program ends at once, as an uncaught
// exception would end it. Defining the library's throw helpers and its
// terminate handler here keeps their archive members out of the program, and
// with them the exception texts, a second string implementation, the name
// demangler and printf: about half of the executable.
#include <cstdlib>

namespace std {

#define QEL_ENDS_PROGRAM(signature) \
  [[noreturn]] void signature { std::abort(); }

QEL_ENDS_PROGRAM(__throw_bad_alloc())
QEL_ENDS_PROGRAM(__throw_bad_array_new_length())
QEL_ENDS_PROGRAM(__throw_bad_cast())
QEL_ENDS_PROGRAM(__throw_bad_exception())
QEL_ENDS_PROGRAM(__throw_bad_typeid())
QEL_ENDS_PROGRAM(__throw_domain_error(const char*))
QEL_ENDS_PROGRAM(__throw_invalid_argument(const char*))
QEL_ENDS_PROGRAM(__throw_length_error(const char*))
QEL_ENDS_PROGRAM(__throw_logic_error(const char*))
QEL_ENDS_PROGRAM(__throw_out_of_range(const char*))
QEL_ENDS_PROGRAM(__throw_out_of_range_fmt(const char*, ...))
QEL_ENDS_PROGRAM(__throw_overflow_error(const char*))
QEL_ENDS_PROGRAM(__throw_range_error(const char*))
QEL_ENDS_PROGRAM(__throw_runtime_error(const char*))
QEL_ENDS_PROGRAM(__throw_underflow_error(const char*))

#undef QEL_ENDS_PROGRAM

}  // namespace std

namespace __gnu_cxx {

// A GUI program has no console to print the exception's name on.
[[noreturn]] void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
