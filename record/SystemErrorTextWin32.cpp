// The error descriptions of Windows (FormatMessageW), in the language of the user's
// system.

#include "record/Win32.h"

#include "record/SystemErrorText.h"
#include "record/UniqueHandle.h"

namespace tavrel {

namespace {

// A block that FormatMessageW allocated for its text, freed with LocalFree.
struct LocalMemoryPolicy {
    using Value = HLOCAL;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value block) noexcept { LocalFree(block); }
};
using UniqueLocalMemory = UniqueHandle<LocalMemoryPolicy>;

}  // namespace

std::u16string SystemErrorText(int error) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const UniqueLocalMemory owned(buffer);
    std::u16string text;
    if (n > 0 && buffer != nullptr) {
        text.assign(reinterpret_cast<const char16_t*>(buffer), n);
    }
    // The system's sentences end with a line break, which a message box does not need.
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) {
        text.pop_back();
    }
    return text;
}

}  // namespace tavrel
