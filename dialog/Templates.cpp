// The tool's two windows, as dialog templates: ids, kinds, styles, positions in dialog
// units and captions. Both backends build their windows from these.
#include "dialog/Templates.h"

#include "dialog/Strings.h"
#include "dialog/resource.h"
#include "platform/Window.h"

namespace tavrel {

using namespace ui::style;
using ui::ControlClass;
using ui::kNoId;

namespace {

constexpr ui::ControlTemplate kSettingsControls[] = {
    {ControlClass::Button, IDOK, BsDefPushButton | TabStop, 93, 237, 65, 21, kOkCaption},
    {ControlClass::Button, IDCANCEL, BsPushButton | TabStop, 160, 237, 65, 21, u"退出"},
    {ControlClass::Button, kNoId, BsGroupBox, 7, 3, 305, 128, u""},
    {ControlClass::Button, IDC_AUTO_IP, BsAutoRadioButton | Group, 16, 13, 126, 10,
     u"自動取得IP位址"},
    {ControlClass::Button, IDC_FIXED_IP, BsAutoRadioButton, 16, 28, 126, 10, u"使用下列的IP位址:"},
    {ControlClass::Static, kNoId, SsRight | Group, 15, 47, 73, 8, u"IP位址:"},
    {ControlClass::IpAddress, IDC_IP_ADDRESS, TabStop, 93, 43, 100, 15, u""},
    {ControlClass::Static, kNoId, SsRight | Group, 15, 64, 73, 8, u"子網路遮罩:"},
    {ControlClass::IpAddress, IDC_SUBNET_MASK, TabStop, 93, 60, 100, 15, u""},
    {ControlClass::Static, kNoId, SsRight | Group, 15, 81, 73, 8, u"預設閘道:"},
    {ControlClass::IpAddress, IDC_GATEWAY, TabStop, 93, 77, 100, 15, u""},
    {ControlClass::Static, kNoId, SsRight | Group, 15, 97, 73, 8, u"其他DNS 伺服器:"},
    {ControlClass::IpAddress, IDC_OTHER_DNS, TabStop, 93, 94, 100, 15, u""},
    {ControlClass::Static, kNoId, SsRight | Group, 15, 114, 73, 8, u"慣用DNS伺服器:"},
    {ControlClass::IpAddress, IDC_PREFERRED_DNS, TabStop, 93, 111, 100, 15, u""},
    {ControlClass::Static, kNoId, SsRight | Group, 15, 136, 73, 8, u"來電號碼推送位址:"},
    {ControlClass::Edit, IDC_PUSH_ADDRESS,
     EsMultiLine | EsAutoVScroll | EsWantReturn | Border | VScroll | TabStop, 93, 134, 211, 44,
     u""},
    {ControlClass::Static, kNoId, SsRight | Group, 17, 183, 73, 8, u"惡意佔用外線設定:"},
    {ControlClass::Static, kNoId, SsRight | Group, 17, 200, 73, 8, u"來電響鈴超過"},
    {ControlClass::Edit, IDC_RING_LIMIT, EsAutoHScroll | EsNumber | Border | TabStop, 93, 197, 40,
     14, u""},
    {ControlClass::Static, kNoId, SsLeft | Group, 137, 200, 168, 8,
     u"聲，立即將電話接起後並掛斷來電"},
    {ControlClass::ComboBox, IDC_LINE_GUARD, CbsDropDownList | VScroll | TabStop, 93, 182, 84, 30,
     u""},
    {ControlClass::Static, kNoId, SsRight | Group, 17, 219, 73, 8, u"CIPKEY:"},
    {ControlClass::Edit, IDC_CIPKEY, EsAutoHScroll | Border | TabStop, 93, 217, 211, 14, u""},
};

constexpr ui::ControlTemplate kAboutControls[] = {
    {ControlClass::Static, kNoId, SsIcon, 11, 17, 18, 17, u"", IDI_APP},
    {ControlClass::Static, kNoId, SsLeft | SsNoPrefix | Group, 40, 10, 119, 8,
     u"Tavrel Version 1.0"},
    {ControlClass::Static, kNoId, SsLeft | Group, 40, 25, 119, 8, u"電話線路設備設定檔產生工具"},
    {ControlClass::Button, IDOK, BsDefPushButton | Group | TabStop, 178, 7, 50, 16, kOkCaption},
};

}  // namespace

const ui::DialogTemplate kSettingsTemplate{
    IDD_SETTINGS,
    Popup | Visible | Caption | SysMenu | DsModalFrame | DsSetFont,
    ExAppWindow,
    0,
    0,
    319,
    264,
    u"Tavrel(Build 20220103)",
    u"Arial",
    9,
    400,
    false,
    0,
    kSettingsControls,
};

const ui::DialogTemplate kAboutTemplate{
    IDD_ABOUT, Popup | Caption | SysMenu | DsModalFrame | DsSetFont,
    0,         0,
    0,         235,
    55,        u"關於Tavrel",
    u"Arial",  9,
    400,       false,
    0,         kAboutControls,
};

}  // namespace tavrel
