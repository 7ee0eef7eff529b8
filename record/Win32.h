#pragma once
// <windows.h> as the library's Windows sources take it: without the min and max macros,
// which would turn every std::min and std::max after it into something else.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
