#pragma once
// The system's own description of an error number (errno, or GetLastError() on
// Windows), in the user's language where the system has one. Not part of the library's
// interface.

#include <string>

namespace tavrel::detail {

std::u16string SystemErrorText(int error);

}  // namespace tavrel::detail
