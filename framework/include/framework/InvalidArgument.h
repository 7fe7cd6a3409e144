#pragma once
// The framework's invalid-argument error: raised by program logic for an index
// or value outside what an operation accepts, caught at the message dispatch
// boundary, where it is reported to the user and the operation is abandoned.
// Portable: no windows.h.
#include <stdexcept>

namespace fw {

class InvalidArgumentError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

}  // namespace fw
