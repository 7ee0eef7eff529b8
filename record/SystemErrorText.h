#pragma once
// The system's own description of the error number a failed call left behind, for the
// user interfaces to show after their own sentence. The text is the system's, in the
// user's language where the system has one: the library adds no wording of its own.

#include <string>

namespace tavrel {

// The description of `error` as WriteResult::systemError holds it (errno, or
// GetLastError() on Windows), without a line break at its end; empty when the system
// has none.
std::u16string SystemErrorText(int error);

}  // namespace tavrel
