// The error descriptions of the C library (strerror's text).

#include "record/SystemErrorText.h"

#include <system_error>

#include "record/CodePage.h"

namespace tavrel {

std::u16string SystemErrorText(int error) {
    // The C library's text is in the locale's encoding, which is UTF-8 wherever this runs.
    return FromCodePage(std::generic_category().message(error), kUtf8CodePage);
}

}  // namespace tavrel
