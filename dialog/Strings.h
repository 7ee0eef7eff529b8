#pragma once
// The dialogs' texts by string id (resource.h, IDS_*), as a Windows program loads its
// string resources; the words themselves are the form's (form/Words.h).

#include <string_view>

namespace tavrel {

// The text of a string resource (resource.h, IDS_*), or empty when there is none.
std::u16string_view LoadResourceString(int id);

}  // namespace tavrel
