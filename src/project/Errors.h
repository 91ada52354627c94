// The exception classes shared by every subsystem. Each carries a formatted
// English message; failures are exceptions, never return codes.
#pragma once

#include <exception>
#include <string>

namespace sw {

class Exception : public std::exception {
  public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const { return message_; }

  private:
    std::string message_;
};

// Stream reading and writing.
class EFilerError : public Exception {
    using Exception::Exception;
};
class EReadError : public EFilerError {
    using EFilerError::EFilerError;
};
class EClassNotFound : public EFilerError {
    using EFilerError::EFilerError;
};

// Component names and ownership.
class EComponentError : public Exception {
    using Exception::Exception;
};

// A resource the program looked for is not in its executable.
class EResNotFound : public Exception {
    using Exception::Exception;
};

// The silent abort: raised to stop an operation without an error message;
// the operations that stop on it report nothing.
class EAbort : public Exception {
  public:
    EAbort() : Exception("Operation aborted") {}
};

// An operation that the object's state does not allow (drawing outside a
// paint, a picture too small for an image list).
class EInvalidOperation : public Exception {
    using Exception::Exception;
};

// The program-wide objects were asked for without their owner, or a second
// owner was created.
class EProgramState : public Exception {
    using Exception::Exception;
};

// A run mode or operation whose subsystem is not built yet. Raised instead of
// pretending to succeed.
class ENotBuiltYet : public Exception {
  public:
    explicit ENotBuiltYet(const std::string& what) : Exception(what + " is not built yet") {}
};

} // namespace sw
