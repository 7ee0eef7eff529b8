// The settings form: its controls' initial values and limits, and the rule that ties
// the five address fields to the address-mode radio buttons.
#include "dialog/ConfigDlg.h"

#include "dialog/Strings.h"
#include "dialog/Templates.h"
#include "dialog/resource.h"

namespace tavrel {

namespace {
constexpr int kAddressControls[] = {IDC_IP_ADDRESS, IDC_SUBNET_MASK, IDC_GATEWAY, IDC_OTHER_DNS,
                                    IDC_PREFERRED_DNS};
}  // namespace

CConfigDlg::CConfigDlg() : CDialog(kSettingsTemplate), appIcon_(ui::LoadAppIcon(IDI_APP)) {}

const ui::MessageMap* CConfigDlg::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnSysCommand<&CConfigDlg::OnSystemCommand>(),
        ui::OnPaint<&CConfigDlg::OnPaintWindow>(),
        ui::OnQueryDragIcon<&CConfigDlg::OnDragIconQuery>(),
        ui::OnCommand<&CConfigDlg::OnConfirm>(IDOK),
        ui::OnCommand<&CConfigDlg::OnAutoAddress>(IDC_AUTO_IP),
        ui::OnCommand<&CConfigDlg::OnFixedAddress>(IDC_FIXED_IP),
    };
    static const ui::MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

bool CConfigDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    InitChrome();
    InitForm();
    LoadStoredSettings();
    return true;  // the framework focuses the first tab stop, the confirm button
}

void CConfigDlg::InitForm() {
    AddListEntry(IDC_LINE_GUARD, LoadResourceString(IDS_GUARD_OFF));
    AddListEntry(IDC_LINE_GUARD, LoadResourceString(IDS_GUARD_ON));
    SetListSelection(IDC_LINE_GUARD, 0);
    CheckDlgButton(IDC_AUTO_IP, 1);
    SetDlgItemAddress(IDC_SUBNET_MASK, SettingsValues{}.subnetMask);
    LimitText(IDC_PUSH_ADDRESS, kPushAddressTypingLimit);
    // The key takes only what will be stored, and the ring count only what fits.
    LimitTextBytes(IDC_CIPKEY, kCipKeyMaxBytes, kSystemAnsiCodePage);
    LimitText(IDC_RING_LIMIT, kRingLimitMaxDigits);
}

void CConfigDlg::EnableAddressFields(bool enable) {
    for (int id : kAddressControls) {
        EnableDlgItem(id, enable);
    }
}

void CConfigDlg::OnAutoAddress() {
    EnableAddressFields(false);
}

void CConfigDlg::OnFixedAddress() {
    EnableAddressFields(true);
}

void CConfigDlg::ShowValues(const SettingsValues& v) {
    CheckDlgButton(IDC_AUTO_IP, v.automaticAddress ? 1 : 0);
    CheckDlgButton(IDC_FIXED_IP, v.automaticAddress ? 0 : 1);
    EnableAddressFields(!v.automaticAddress);
    SetDlgItemAddress(IDC_IP_ADDRESS, v.ipAddress);
    SetDlgItemAddress(IDC_SUBNET_MASK, v.subnetMask);
    SetDlgItemAddress(IDC_GATEWAY, v.defaultGateway);
    SetDlgItemAddress(IDC_OTHER_DNS, v.otherDnsServer);
    SetDlgItemAddress(IDC_PREFERRED_DNS, v.preferredDnsServer);
    SetListSelection(IDC_LINE_GUARD, v.lineGuardMode);
    SetDlgItemInt(IDC_RING_LIMIT, v.ringLimit, true);
    SetDlgItemText(IDC_PUSH_ADDRESS, v.pushAddress);
    SetDlgItemText(IDC_CIPKEY, v.cipKey);
}

SettingsValues CConfigDlg::ReadValues() const {
    SettingsValues v;
    v.automaticAddress = IsDlgButtonChecked(IDC_AUTO_IP);
    v.ipAddress = GetDlgItemAddress(IDC_IP_ADDRESS);
    v.subnetMask = GetDlgItemAddress(IDC_SUBNET_MASK);
    v.defaultGateway = GetDlgItemAddress(IDC_GATEWAY);
    v.otherDnsServer = GetDlgItemAddress(IDC_OTHER_DNS);
    v.preferredDnsServer = GetDlgItemAddress(IDC_PREFERRED_DNS);
    v.pushAddress = GetDlgItemText(IDC_PUSH_ADDRESS);
    v.lineGuardMode = GetListSelection(IDC_LINE_GUARD);
    v.ringLimit = GetDlgItemInt(IDC_RING_LIMIT, true);
    v.cipKey = GetDlgItemText(IDC_CIPKEY);
    return v;
}

}  // namespace tavrel
