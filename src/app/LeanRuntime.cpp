// Lighter stand-ins for parts of the C++ run-time library, linked into every
// shipped Windows program. The library's own terminate handler demangles the
// type of the exception for a console these programs do not have, and its
// error throwers build std::logic_error and its kin on copy-on-write strings;
// between them they pull some 150 KB of demangler, string and random-device
// code into each program. The programs catch std::exception, which these
// throwers still raise, with the library's message.
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

namespace {

class ELibraryError : public std::exception {
  public:
    explicit ELibraryError(const char* message) : message_(message) {}
    const char* what() const noexcept override { return message_; }

  private:
    const char* message_;
};

} // namespace

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

} // namespace __gnu_cxx

namespace std {

[[noreturn]] void __throw_bad_exception() { throw bad_exception(); }
[[noreturn]] void __throw_bad_alloc() { throw bad_alloc(); }
[[noreturn]] void __throw_bad_array_new_length() { throw bad_array_new_length(); }
[[noreturn]] void __throw_bad_cast() { throw bad_cast(); }
[[noreturn]] void __throw_bad_typeid() { throw bad_typeid(); }
[[noreturn]] void __throw_logic_error(const char* message) { throw ELibraryError(message); }
[[noreturn]] void __throw_domain_error(const char* message) { throw ELibraryError(message); }
[[noreturn]] void __throw_invalid_argument(const char* message) { throw ELibraryError(message); }
[[noreturn]] void __throw_length_error(const char* message) { throw ELibraryError(message); }
[[noreturn]] void __throw_out_of_range(const char* message) { throw ELibraryError(message); }
// The format's arguments are left out: the text says what went wrong.
[[noreturn]] void __throw_out_of_range_fmt(const char* format, ...) { throw ELibraryError(format); }
[[noreturn]] void __throw_runtime_error(const char* message) { throw ELibraryError(message); }
[[noreturn]] void __throw_range_error(const char* message) { throw ELibraryError(message); }
[[noreturn]] void __throw_overflow_error(const char* message) { throw ELibraryError(message); }
[[noreturn]] void __throw_underflow_error(const char* message) { throw ELibraryError(message); }

} // namespace std
