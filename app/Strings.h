#pragma once
#include <string_view>

namespace tavrel {

// The text of a string resource (resource.h, IDS_*), or empty when there is none.
std::u16string_view LoadResourceString(int id);

}  // namespace tavrel
