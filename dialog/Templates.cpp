// The tool's two windows, as dialog templates: ids, kinds, styles, positions in dialog
// units; their captions are the form's words. Both backends build their windows from these.
#include "dialog/Templates.h"

#include "dialog/resource.h"
#include "form/Words.h"
#include "platform/Window.h"

namespace tavrel {

using namespace ui::style;
using ui::ControlClass;
using ui::kNoId;
namespace words = form::words;

namespace {

constexpr ui::ControlTemplate kSettingsControls[] = {
    {ControlClass::Button, IDOK, BsDefPushButton | TabStop, 93, 237, 65, 21, words::kOk},
    {ControlClass::Button, IDCANCEL, BsPushButton | TabStop, 160, 237, 65, 21, words::kExit},
    {ControlClass::Button, kNoId, BsGroupBox, 7, 3, 305, 128, u""},
    {ControlClass::Button, IDC_AUTO_IP, BsAutoRadioButton | Group, 16, 13, 126, 10,
     words::kAutomaticAddress},
    {ControlClass::Button, IDC_FIXED_IP, BsAutoRadioButton, 16, 28, 126, 10, words::kFixedAddress},
    {ControlClass::Static, kNoId, SsRight | Group, 15, 47, 73, 8, words::kIpAddress},
    {ControlClass::IpAddress, IDC_IP_ADDRESS, TabStop, 93, 43, 100, 15, u""},
    {ControlClass::Static, kNoId, SsRight | Group, 15, 64, 73, 8, words::kSubnetMask},
    {ControlClass::IpAddress, IDC_SUBNET_MASK, TabStop, 93, 60, 100, 15, u""},
    {ControlClass::Static, kNoId, SsRight | Group, 15, 81, 73, 8, words::kDefaultGateway},
    {ControlClass::IpAddress, IDC_GATEWAY, TabStop, 93, 77, 100, 15, u""},
    {ControlClass::Static, kNoId, SsRight | Group, 15, 97, 73, 8, words::kOtherDnsServer},
    {ControlClass::IpAddress, IDC_OTHER_DNS, TabStop, 93, 94, 100, 15, u""},
    {ControlClass::Static, kNoId, SsRight | Group, 15, 114, 73, 8, words::kPreferredDnsServer},
    {ControlClass::IpAddress, IDC_PREFERRED_DNS, TabStop, 93, 111, 100, 15, u""},
    {ControlClass::Static, kNoId, SsRight | Group, 15, 136, 73, 8, words::kPushAddress},
    {ControlClass::Edit, IDC_PUSH_ADDRESS,
     EsMultiLine | EsAutoVScroll | EsWantReturn | Border | VScroll | TabStop, 93, 134, 211, 44,
     u""},
    {ControlClass::Static, kNoId, SsRight | Group, 17, 183, 73, 8, words::kLineGuard},
    {ControlClass::Static, kNoId, SsRight | Group, 17, 200, 73, 8, words::kRingsBefore},
    {ControlClass::Edit, IDC_RING_LIMIT, EsAutoHScroll | EsNumber | Border | TabStop, 93, 197, 40,
     14, u""},
    {ControlClass::Static, kNoId, SsLeft | Group, 137, 200, 168, 8, words::kRingsAfter},
    {ControlClass::ComboBox, IDC_LINE_GUARD, CbsDropDownList | VScroll | TabStop, 93, 182, 84, 30,
     u""},
    {ControlClass::Static, kNoId, SsRight | Group, 17, 219, 73, 8, words::kCipKey},
    {ControlClass::Edit, IDC_CIPKEY, EsAutoHScroll | Border | TabStop, 93, 217, 211, 14, u""},
};

constexpr ui::ControlTemplate kAboutControls[] = {
    {ControlClass::Static, kNoId, SsIcon, 11, 17, 18, 17, u"", IDI_APP},
    {ControlClass::Static, kNoId, SsLeft | SsNoPrefix | Group, 40, 10, 119, 8,
     words::kAboutVersion},
    {ControlClass::Static, kNoId, SsLeft | Group, 40, 25, 119, 8, words::kAboutDescription},
    {ControlClass::Button, IDOK, BsDefPushButton | Group | TabStop, 178, 7, 50, 16, words::kOk},
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
    words::kSettingsTitle,
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
    55,        words::kAboutTitle,
    u"Arial",  9,
    400,       false,
    0,         kAboutControls,
};

}  // namespace tavrel
