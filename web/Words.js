// Every word the page shows, in one place: the settings dialog's own words in
// Traditional Chinese. The page's elements name their word by key (data-word,
// data-word-label); the script fills them in before the form is shown.
'use strict';

const kWords = Object.freeze({
  title: 'Tavrel',
  subtitle: '電話線路設備設定檔產生工具',
  addressMode: '位址模式',
  automaticAddress: '自動取得IP位址',
  fixedAddress: '使用下列的IP位址',
  ipAddress: 'IP位址',
  subnetMask: '子網路遮罩',
  defaultGateway: '預設閘道',
  otherDnsServer: '其他DNS 伺服器',
  preferredDnsServer: '慣用DNS伺服器',
  pushAddress: '來電號碼推送位址',
  lineGuardMode: '惡意佔用外線設定',
  guardOff: '關閉',
  guardOn: '開啟',
  ringLimit: '來電響鈴超過',
  ringsUnit: '聲，立即將電話接起後並掛斷來電',
  cipKey: 'CIPKEY',
  confirm: '確定',
  fileCreated: '設定參數檔案已產生，請將產生的檔案複製到USB隨身碟或設備上的SD卡再插入設備',
  openSettingsFile: '開啟設定檔',
  // Until the form's own refusals reach the page.
  notAnAddress: '請輸入四個 0 到 255 的十進位數字，以點分隔，例如 192.168.1.10',
  notARingCount: '請輸入 -2147483648 到 2147483647 之間的整數',
  fileUnreadable: '無法讀取這個檔案',
  cannotStart: '這個瀏覽器無法執行本頁面，請改用新版的瀏覽器',
});
