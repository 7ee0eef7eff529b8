// What the page's tests share: Debian's Chromium driven by playwright-core (nothing
// downloads a browser), the page opened from file:// with every other request aborted
// and counted, the form filled in as a person fills it in, and the Linux tavrel-cli as
// the reference for every byte.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync, mkdirSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

export const kRoot = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const kPage = process.env.TAVREL_WEB_PAGE ?? join(kRoot, 'build/web/tavrel.html');
export const kPageUrl = pathToFileURL(kPage).href;
export const kCli = process.env.TAVREL_CLI ?? join(kRoot, 'build/linux/bin/tavrel-cli');
export const kFixtures = join(kRoot, 'tests/data');
export const kScreenshots = join(kRoot, 'build/screenshots');
// The binary of Debian's chromium package.
export const kChromium = process.env.TAVREL_CHROMIUM ?? '/usr/lib/chromium/chromium';

export const kPhone = { width: 390, height: 844 };
export const kDesktop = { width: 1280, height: 900 };

// The form's controls by role and accessible name, in the dialog's tab order.
export const kWords = {
  automatic: '自動取得IP位址',
  fixed: '使用下列的IP位址',
  ipAddress: 'IP位址',
  subnetMask: '子網路遮罩',
  defaultGateway: '預設閘道',
  otherDnsServer: '其他DNS 伺服器',
  preferredDnsServer: '慣用DNS伺服器',
  pushAddress: '來電號碼推送位址',
  ringLimit: '來電響鈴超過',
  lineGuardMode: '惡意佔用外線設定',
  cipKey: 'CIPKEY',
  confirm: '確定',
  openSettingsFile: '開啟設定檔',
  openSiteTable: '開啟站點表格',
  loadWarnings: '載入警告',
  networkHints: '網路提示',
  fileCreated: '設定參數檔案已產生，請將產生的檔案複製到USB隨身碟或設備上的SD卡再插入設備',
};
export const kAddressKeys = [
  'ipAddress', 'subnetMask', 'defaultGateway', 'otherDnsServer', 'preferredDnsServer',
];

export function launch() {
  return chromium.launch({ executablePath: kChromium, headless: true });
}

// A new browser profile with the page open and ready. `requests` lists every request
// other than the page itself, each aborted.
export async function openPage(browser, { viewport = kDesktop, context = null } = {}) {
  context ??= await browser.newContext({ viewport, acceptDownloads: true, locale: 'zh-TW' });
  const requests = context.tavrelRequests ?? [];
  if (!context.tavrelRequests) {
    context.tavrelRequests = requests;
    await context.route('**/*', (route) => {
      if (route.request().url() === kPageUrl) {
        return route.continue();
      }
      requests.push(route.request().url());
      return route.abort();
    });
  }
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(kPageUrl);
  await page.waitForSelector('html[data-ready]');
  return { context, page, requests, errors };
}

export async function reload(page) {
  await page.reload();
  await page.waitForSelector('html[data-ready]');
}

export function control(page, key) {
  const name = kWords[key];
  switch (key) {
    case 'automatic':
    case 'fixed':
      return page.getByRole('radio', { name, exact: true });
    case 'ringLimit':
      return page.getByRole('spinbutton', { name, exact: true });
    case 'lineGuardMode':
      return page.getByRole('combobox', { name, exact: true });
    case 'confirm':
    case 'openSettingsFile':
    case 'openSiteTable':
      return page.getByRole('button', { name, exact: true });
    case 'loadWarnings':
    case 'networkHints':
      return page.getByRole('list', { name, exact: true });
    default:
      return page.getByRole('textbox', { name, exact: true });
  }
}

// Replaces a field's text by typing: select all, delete, then each character; a line
// break is the Enter key.
export async function typeInto(page, key, text) {
  const field = control(page, key);
  await field.click();
  await page.keyboard.press('ControlOrMeta+A');
  await page.keyboard.press('Delete');
  const lines = text.split('\n');
  for (let i = 0; i < lines.length; i += 1) {
    if (i > 0) {
      await page.keyboard.press('Enter');
    }
    await page.keyboard.type(lines[i]);
  }
}

// Fills in the form as a person does: the mode by its radio button, texts typed, the
// guard chosen in its list. `values` holds what to change, by the keys of kWords;
// lineGuardMode is the entry's text.
export async function fillForm(page, values) {
  if (values.fixed !== undefined) {
    await control(page, values.fixed ? 'fixed' : 'automatic').check();
  }
  for (const [key, text] of Object.entries(values)) {
    if (key === 'fixed') {
      continue;
    }
    if (key === 'lineGuardMode') {
      await control(page, key).selectOption({ label: text });
    } else {
      await typeInto(page, key, text);
    }
  }
}

// The items of one of the page's lists (載入警告, 網路提示), as text; none while the list
// is hidden.
export async function listItems(page, key) {
  const list = control(page, key);
  return (await list.count()) === 0 ? [] : list.getByRole('listitem').allTextContents();
}

// Counts the downloads a page starts from now on.
export function countDownloads(page) {
  const counter = { downloads: 0 };
  page.on('download', () => {
    counter.downloads += 1;
  });
  return counter;
}

// Presses 確定 and returns the download: its name and bytes.
export async function confirm(page) {
  const [download] = await Promise.all([
    page.waitForEvent('download'),
    control(page, 'confirm').click(),
  ]);
  const path = await download.path();
  return { name: download.suggestedFilename(), bytes: readFileSync(path) };
}

// What the form shows, as `show --json` names the values (the push address with its
// line breaks as the field holds them, LF).
export async function shownValues(page) {
  const values = {
    addressMode: (await control(page, 'automatic').isChecked()) ? 1 : 0,
  };
  for (const key of kAddressKeys) {
    values[key] = await control(page, key).inputValue();
  }
  values.pushAddress = await control(page, 'pushAddress').inputValue();
  values.lineGuardMode = await control(page, 'lineGuardMode')
    .evaluate((select) => select.selectedIndex);
  values.ringLimit = Number(await control(page, 'ringLimit').inputValue());
  values.cipKey = await control(page, 'cipKey').inputValue();
  return values;
}

// What `tavrel-cli show --json` gives for a file (a path, or its bytes), as the form's
// fields hold it: a text field keeps line breaks as LF.
export function cliShown(file) {
  const json = typeof file === 'string' ? cli(['show', '--json', file])
    : cli(['show', '--json', '-'], { input: file });
  const shown = JSON.parse(json);
  delete shown.warnings;
  delete shown.hints;
  shown.pushAddress = shown.pushAddress.replace(/\r\n?/g, '\n');
  return shown;
}

export function scratchFolder() {
  return mkdtempSync(join(tmpdir(), 'tavrel-web-'));
}

export function removeFolder(folder) {
  rmSync(folder, { recursive: true, force: true });
}

export function cli(args, options = {}) {
  return execFileSync(kCli, args, { encoding: 'utf8', ...options });
}

// The bytes `tavrel-cli write` gives for these arguments.
export function cliWrite(args) {
  const folder = scratchFolder();
  try {
    cli(['write', folder, ...args]);
    return readFileSync(join(folder, 'device_config.dat'));
  } finally {
    removeFolder(folder);
  }
}

export function fixture(name) {
  return join(kFixtures, name);
}

export function writeScratchFile(folder, name, bytes) {
  const path = join(folder, name);
  writeFileSync(path, bytes);
  return path;
}

export async function screenshot(page, name) {
  mkdirSync(kScreenshots, { recursive: true });
  await page.screenshot({ path: join(kScreenshots, name), fullPage: true });
}
