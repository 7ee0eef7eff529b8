#pragma once
// The path type of the system's file calls.

#include <string>

namespace tavrel {

// A path as the system's file calls take it: UTF-16 on Windows, bytes elsewhere. It is
// the string type of std::filesystem::path, which therefore converts to it, while the
// library itself stays free of the C++ library's file system and its locale code.
#ifdef _WIN32
using NativePath = std::wstring;
#else
using NativePath = std::string;
#endif

}  // namespace tavrel
