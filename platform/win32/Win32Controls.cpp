// The edit controls' input filters (Win32Controls.h), as window subclasses.
#include "platform/win32/Win32Controls.h"

#include <imm.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/win32/Win32Handles.h"
#include "record/Utf16.h"

namespace tavrel::ui::win32 {

namespace {

constexpr UINT_PTR kByteLimitSubclass = 1;
constexpr UINT_PTR kDigitsOnlySubclass = 2;
constexpr wchar_t kByteLimitProperty[] = L"tavrel.byteLimit";  // the edit's ByteLimit

struct ByteLimit {
    std::size_t maxBytes;
    CodePage codePage;
    char16_t pendingHighSurrogate = 0;  // first half of a typed surrogate pair
};

std::u16string EditText(HWND edit) {
    const int length = GetWindowTextLengthW(edit);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(edit, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return Utf16(text);
}

struct Selection {
    std::size_t start, end;
};

Selection EditSelection(HWND edit, std::size_t textLength) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    Selection sel{start, end};
    if (sel.start > sel.end) {
        std::swap(sel.start, sel.end);
    }
    sel.end = std::min<std::size_t>(sel.end, textLength);
    sel.start = std::min(sel.start, sel.end);
    return sel;
}

// The edit's text without its selection: what stays when the selection is replaced.
std::u16string TextAroundSelection(HWND edit) {
    std::u16string text = EditText(edit);
    const Selection sel = EditSelection(edit, text.size());
    text.erase(sel.start, sel.end - sel.start);
    return text;
}

// Characters that edit controls take as commands (Backspace, Ctrl+C/V/X/Z...).
bool IsControlCharacter(WPARAM c) {
    return c < 0x20 || c == 0x7F;
}

// The first line of a text, as a single-line edit pastes it.
std::u16string_view FirstLine(std::u16string_view text) {
    const std::size_t lineBreak = text.find_first_of(u"\r\n");
    return lineBreak == std::u16string_view::npos ? text : text.substr(0, lineBreak);
}

std::optional<std::u16string> ClipboardText(HWND owner) {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) {
        return std::nullopt;
    }
    const UniqueClipboard clipboard = OpenClipboardFor(owner);
    if (!clipboard) {
        return std::nullopt;
    }
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr) {
        return std::nullopt;
    }
    const auto* chars = static_cast<const wchar_t*>(GlobalLock(data));
    if (chars == nullptr) {
        return std::nullopt;
    }
    const UniqueGlobalLock lock(data);
    const std::size_t maxChars = GlobalSize(data) / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < maxChars && chars[length] != L'\0') {
        ++length;
    }
    return Utf16(std::wstring_view(chars, length));
}

// The pasted text as the edit itself would insert it.
std::optional<std::u16string> PastedText(HWND edit) {
    std::optional<std::u16string> text = ClipboardText(edit);
    if (text && (GetWindowLongPtrW(edit, GWL_STYLE) & ES_MULTILINE) == 0) {
        text = std::u16string(FirstLine(*text));
    }
    return text;
}

void Refuse() {
    MessageBeep(MB_OK);
}

bool Fits(HWND edit, std::u16string_view insertion, const ByteLimit& limit) {
    std::u16string text = TextAroundSelection(edit);
    const std::size_t kept = CodePageLength(text, limit.codePage);
    return kept + CodePageLength(insertion, limit.codePage) <= limit.maxBytes;
}

LRESULT TypedCharacter(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, ByteLimit& limit) {
    const auto c = static_cast<char16_t>(wParam);
    if (utf16::IsHighSurrogate(c)) {
        limit.pendingHighSurrogate = c;  // wait for the second half
        return 0;
    }
    std::u16string typed;
    if (utf16::IsLowSurrogate(c) && limit.pendingHighSurrogate != 0) {
        typed.push_back(limit.pendingHighSurrogate);
    }
    typed.push_back(c);
    limit.pendingHighSurrogate = 0;
    if (!Fits(edit, typed, limit)) {
        Refuse();
        return 0;
    }
    for (char16_t unit : typed) {
        DefSubclassProc(edit, msg, unit, lParam);
    }
    return 0;
}

LRESULT Paste(HWND edit, const ByteLimit& limit) {
    const std::optional<std::u16string> pasted = PastedText(edit);
    if (!pasted || pasted->empty()) {
        return 0;
    }
    const std::size_t kept = CodePageLength(TextAroundSelection(edit), limit.codePage);
    const std::size_t budget = kept < limit.maxBytes ? limit.maxBytes - kept : 0;
    const std::wstring fitting =
        Wide(pasted->substr(0, FittingUnits(*pasted, budget, limit.codePage)));
    if (fitting.size() < pasted->size()) {
        Refuse();
    }
    if (!fitting.empty()) {
        DefSubclassProc(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(fitting.c_str()));
    }
    return 0;
}

LRESULT CALLBACK ByteLimitProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data) {
    auto& limit = *reinterpret_cast<ByteLimit*>(data);
    switch (msg) {
        case WM_CHAR:
        case WM_IME_CHAR:
            if (!IsControlCharacter(wParam)) {
                return TypedCharacter(edit, msg, wParam, lParam, limit);
            }
            break;
        case WM_PASTE:
            return Paste(edit, limit);
        case EM_REPLACESEL:
            if (lParam != 0) {
                const std::u16string text = Utf16(reinterpret_cast<const wchar_t*>(lParam));
                if (!Fits(edit, text, limit)) {
                    Refuse();
                    return 0;
                }
            }
            break;
        case WM_IME_COMPOSITION:
            if ((lParam & GCS_RESULTSTR) != 0) {
                // The edit inserts the result itself; take it back when it does not fit.
                const std::u16string before = EditText(edit);
                const Selection sel = EditSelection(edit, before.size());
                const LRESULT result = DefSubclassProc(edit, msg, wParam, lParam);
                const std::u16string after = EditText(edit);
                if (after != before && CodePageLength(after, limit.codePage) > limit.maxBytes) {
                    const std::wstring restored = Wide(before);
                    DefSubclassProc(edit, WM_SETTEXT, 0,
                                    reinterpret_cast<LPARAM>(restored.c_str()));
                    DefSubclassProc(edit, EM_SETSEL, sel.start, sel.end);
                    Refuse();
                }
                return result;
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(edit, ByteLimitProc, id);
            RemovePropW(edit, kByteLimitProperty);
            delete &limit;
            break;
        default:
            break;
    }
    return DefSubclassProc(edit, msg, wParam, lParam);
}

bool OnlyDigits(std::u16string_view text) {
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

LRESULT CALLBACK DigitsOnlyProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR /*data*/) {
    switch (msg) {
        case WM_CHAR:
        case WM_IME_CHAR:
            if (!IsControlCharacter(wParam) && (wParam < L'0' || wParam > L'9')) {
                Refuse();
                return 0;
            }
            break;
        case WM_PASTE: {
            const std::optional<std::u16string> pasted = PastedText(edit);
            if (pasted && !OnlyDigits(*pasted)) {
                Refuse();
                return 0;
            }
            break;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(edit, DigitsOnlyProc, id);
            break;
        default:
            break;
    }
    return DefSubclassProc(edit, msg, wParam, lParam);
}

}  // namespace

void LimitEditBytes(HWND edit, int maxBytes, CodePage codePage) {
    if (edit == nullptr) {
        return;
    }
    const std::size_t bytes = maxBytes > 0 ? static_cast<std::size_t>(maxBytes) : 0;
    if (auto* limit = static_cast<ByteLimit*>(GetPropW(edit, kByteLimitProperty))) {
        limit->maxBytes = bytes;
        limit->codePage = codePage;
        return;
    }
    auto* limit = new ByteLimit{bytes, codePage};
    if (!SetWindowSubclass(edit, ByteLimitProc, kByteLimitSubclass,
                           reinterpret_cast<DWORD_PTR>(limit))) {
        delete limit;
        return;
    }
    SetPropW(edit, kByteLimitProperty, limit);
}

void AcceptDigitsOnly(HWND edit) {
    if (edit != nullptr) {
        SetWindowSubclass(edit, DigitsOnlyProc, kDigitsOnlySubclass, 0);
    }
}

}  // namespace tavrel::ui::win32
