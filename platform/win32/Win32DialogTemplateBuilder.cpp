// The in-memory DLGTEMPLATEEX of a dialog template, written field by field as the
// dialog manager reads it.
#include "platform/win32/Win32DialogTemplateBuilder.h"

#include <string_view>

#include "platform/win32/Win32.h"

namespace tavrel::ui::win32 {

namespace {

// Little-endian writer for the template's WORD/DWORD stream.
class TemplateWriter {
public:
    void Byte(std::uint8_t value) { bytes_.push_back(value); }
    void Word(std::uint16_t value) {
        Byte(static_cast<std::uint8_t>(value & 0xFF));
        Byte(static_cast<std::uint8_t>(value >> 8));
    }
    void Dword(std::uint32_t value) {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Short(short value) { Word(static_cast<std::uint16_t>(value)); }
    // A NUL-terminated UTF-16 string.
    void Text(std::u16string_view text) {
        for (char16_t c : text) {
            Word(c);
        }
        Word(0);
    }
    void Text(const wchar_t* text) {
        for (; *text != L'\0'; ++text) {
            Word(static_cast<std::uint16_t>(*text));
        }
        Word(0);
    }
    // A resource named by number.
    void Ordinal(std::uint16_t id) {
        Word(0xFFFF);
        Word(id);
    }
    void AlignDword() {
        while (bytes_.size() % 4 != 0) {
            Byte(0);
        }
    }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

bool IsIconStatic(const ControlTemplate& c) {
    return c.kind == ControlClass::Static && (c.style & style::SsTypeMask) == style::SsIcon &&
           c.iconId != 0;
}

}  // namespace

const wchar_t* ControlClassName(ControlClass kind) {
    switch (kind) {
        case ControlClass::Button:
            return L"Button";
        case ControlClass::Static:
            return L"Static";
        case ControlClass::Edit:
            return L"Edit";
        case ControlClass::ComboBox:
            return L"ComboBox";
        case ControlClass::IpAddress:
            return WC_IPADDRESSW;
    }
    return L"Static";
}

std::vector<std::uint8_t> BuildDialogTemplate(const DialogTemplate& dialog) {
    TemplateWriter out;
    out.Word(1);       // dlgVer
    out.Word(0xFFFF);  // signature: the extended form
    out.Dword(0);      // helpID
    out.Dword(dialog.exStyle);
    out.Dword(dialog.style);
    out.Word(static_cast<std::uint16_t>(dialog.controls.size()));
    out.Short(dialog.x);
    out.Short(dialog.y);
    out.Short(dialog.cx);
    out.Short(dialog.cy);
    out.Word(0);  // no menu
    out.Word(0);  // the dialog manager's own window class
    out.Text(dialog.caption);
    if ((dialog.style & (DS_SETFONT | DS_SHELLFONT)) != 0) {
        out.Short(dialog.pointSize);
        out.Short(dialog.weight);
        out.Byte(dialog.italic ? 1 : 0);
        out.Byte(dialog.charset);
        out.Text(dialog.fontFace);
    }

    for (const ControlTemplate& c : dialog.controls) {
        out.AlignDword();
        out.Dword(0);  // helpID
        out.Dword(0);  // exStyle
        out.Dword(c.style | WS_CHILD | WS_VISIBLE);
        out.Short(c.x);
        out.Short(c.y);
        out.Short(c.cx);
        out.Short(c.cy);
        out.Dword(static_cast<std::uint32_t>(c.id));
        out.Text(ControlClassName(c.kind));
        if (IsIconStatic(c)) {
            out.Ordinal(static_cast<std::uint16_t>(c.iconId));
        } else {
            out.Text(c.text);
        }
        out.Word(0);  // no creation data
    }
    return out.Take();
}

}  // namespace tavrel::ui::win32
