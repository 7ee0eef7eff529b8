#pragma once
// Dialog templates as data: every window of the tool is declared once (in dialog/) with
// Windows dialog-template semantics, and each backend realises it: Win32 builds the
// template in memory, Qt places widgets at the same positions, converting dialog units
// with the template font's metrics as Windows does.

#include <cstdint>
#include <span>
#include <string_view>

namespace tavrel::ui {

enum class ControlClass {
    Button,     // push buttons, radio buttons, group boxes (by style)
    Static,     // labels and icons (by style)
    Edit,       // single- and multi-line edits (by style)
    ComboBox,   // drop-down list
    IpAddress,  // address entry: four fields of 0-255
};

// Window, dialog and control styles, with their Windows values.
namespace style {
inline constexpr std::uint32_t Popup = 0x80000000;
inline constexpr std::uint32_t Child = 0x40000000;
inline constexpr std::uint32_t Visible = 0x10000000;
inline constexpr std::uint32_t Disabled = 0x08000000;
inline constexpr std::uint32_t Caption = 0x00C00000;
inline constexpr std::uint32_t Border = 0x00800000;
inline constexpr std::uint32_t VScroll = 0x00200000;
inline constexpr std::uint32_t HScroll = 0x00100000;
inline constexpr std::uint32_t SysMenu = 0x00080000;
inline constexpr std::uint32_t Group = 0x00020000;
inline constexpr std::uint32_t TabStop = 0x00010000;

inline constexpr std::uint32_t DsSetFont = 0x0040;
inline constexpr std::uint32_t DsModalFrame = 0x0080;

inline constexpr std::uint32_t ExAppWindow = 0x00040000;

inline constexpr std::uint32_t BsPushButton = 0x0000;
inline constexpr std::uint32_t BsDefPushButton = 0x0001;
inline constexpr std::uint32_t BsGroupBox = 0x0007;
inline constexpr std::uint32_t BsAutoRadioButton = 0x0009;
inline constexpr std::uint32_t BsTypeMask = 0x000F;

inline constexpr std::uint32_t SsLeft = 0x0000;
inline constexpr std::uint32_t SsRight = 0x0002;
inline constexpr std::uint32_t SsIcon = 0x0003;
inline constexpr std::uint32_t SsTypeMask = 0x001F;
inline constexpr std::uint32_t SsNoPrefix = 0x0080;

inline constexpr std::uint32_t EsLeft = 0x0000;
inline constexpr std::uint32_t EsMultiLine = 0x0004;
inline constexpr std::uint32_t EsAutoVScroll = 0x0040;
inline constexpr std::uint32_t EsAutoHScroll = 0x0080;
inline constexpr std::uint32_t EsWantReturn = 0x1000;
inline constexpr std::uint32_t EsNumber = 0x2000;

inline constexpr std::uint32_t CbsDropDownList = 0x0003;
}  // namespace style

inline constexpr int kNoId = -1;

struct ControlTemplate {
    ControlClass kind;
    int id;               // kNoId for labels and frames
    std::uint32_t style;  // style::Child | style::Visible are implied
    short x, y, cx, cy;   // dialog units
    std::u16string_view text;
    int iconId = 0;  // SS_ICON statics: the icon resource shown
};

struct DialogTemplate {
    int id;
    std::uint32_t style;
    std::uint32_t exStyle;
    short x, y, cx, cy;  // dialog units
    std::u16string_view caption;
    std::u16string_view fontFace;
    short pointSize;
    short weight;
    bool italic;
    std::uint8_t charset;
    std::span<const ControlTemplate> controls;  // template order = tab order
};

}  // namespace tavrel::ui
