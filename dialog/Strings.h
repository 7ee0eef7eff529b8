#pragma once
// The dialogs' texts: the string resources by id (resource.h, IDS_*) and the caption
// that every OK button shares.

#include <string_view>

namespace tavrel {

// The caption of every OK button: the templates' and the message boxes'.
inline constexpr std::u16string_view kOkCaption = u"確定";

// The text of a string resource (resource.h, IDS_*), or empty when there is none.
std::u16string_view LoadResourceString(int id);

}  // namespace tavrel
