// The page on a phone and a desktop: one column with no horizontal scrolling, every
// control reachable with Tab in the dialog's order and named in the accessibility tree as
// the browser page's issue says, 確定 pressed by Enter; a screenshot of each viewport in
// build/screenshots/; and the file's size and time to ready.
import assert from 'node:assert/strict';
import { statSync } from 'node:fs';
import { after, before, test } from 'node:test';
import {
  confirm, control, fixture, kDesktop, kPage, kPageUrl, kPhone, launch, openPage, screenshot,
} from './Support.mjs';

let browser;
before(async () => {
  browser = await launch();
});
after(() => browser?.close());

async function showFullForm(page) {
  await control(page, 'openSettingsFile').setInputFiles(fixture('full-form.dat'));
  await page.waitForSelector('form:not([aria-busy])', { state: 'attached' });
}

for (const [name, viewport] of [['phone', kPhone], ['narrow phone', { width: 360, height: 740 }],
  ['desktop', kDesktop]]) {
  test(`${name} (${viewport.width} × ${viewport.height}): nothing wider than the screen`,
    async () => {
      const { page, context } = await openPage(browser, { viewport });
      await showFullForm(page);
      const overflow = await page.evaluate(() => {
        const width = document.documentElement.clientWidth;
        const wide = [...document.querySelectorAll('body *')]
          .filter((element) => element.getBoundingClientRect().right > width + 0.5)
          .map((element) => element.id || element.tagName);
        return { scrollWidth: document.documentElement.scrollWidth, width, wide };
      });
      assert.deepEqual(overflow.wide, []);
      assert.ok(overflow.scrollWidth <= overflow.width, JSON.stringify(overflow));
      if (viewport !== kDesktop) {
        // One column: each control starts on the left, under the one before it.
        const boxes = await page.locator('input:not([type=radio]):not([type=file]), textarea, select')
          .evaluateAll((elements) => elements.map((e) => e.getBoundingClientRect().top));
        assert.deepEqual(boxes, [...boxes].sort((a, b) => a - b));
      }
      await screenshot(page, `web-${name.replace(' ', '-')}.png`);
      await context.close();
    });
}

// The radio buttons are one stop (the checked one), as a browser makes a radio group;
// the disabled address fields none.
test('Tab reaches every control in the dialog\'s order; Enter on 確定 confirms', async () => {
  const { page, context } = await openPage(browser, { viewport: kPhone });
  const order = async (count) => {
    await page.locator('h1').click();  // Tab starts from the top again
    const names = [];
    for (let i = 0; i < count; i += 1) {
      await page.keyboard.press('Tab');
      names.push(await page.evaluate(() => {
        const e = document.activeElement;
        return e.labels?.[0]?.textContent ?? e.textContent.slice(0, 40);
      }));
    }
    return names;
  };
  const tail = ['來電號碼推送位址', '來電響鈴超過', '惡意佔用外線設定', 'CIPKEY', '確定', '開啟設定檔',
    '開啟站點表格'];
  assert.deepEqual(await order(8), ['自動取得IP位址', ...tail]);
  await control(page, 'fixed').check();
  assert.deepEqual(await order(13), ['使用下列的IP位址', 'IP位址', '子網路遮罩', '預設閘道',
    '其他DNS 伺服器', '慣用DNS伺服器', ...tail]);

  await control(page, 'confirm').focus();
  const [download] = await Promise.all([page.waitForEvent('download'),
    page.keyboard.press('Enter')]);
  assert.equal(download.suggestedFilename(), 'device_config.dat');
  await context.close();
});

// Chromium's own accessibility tree: each control's role and name as the table
// writes them, and no focusable node without a name.
test('the accessibility tree names every control', async () => {
  const { page, context } = await openPage(browser, { viewport: kPhone });
  await control(page, 'fixed').check();
  const session = await context.newCDPSession(page);
  const { nodes } = await session.send('Accessibility.getFullAXTree');
  const controls = nodes
    .filter((node) => !node.ignored && node.properties?.some((p) => p.name === 'focusable'))
    .filter((node) => node.role.value !== 'RootWebArea')
    .map((node) => [node.role.value, node.name?.value ?? '']);
  assert.deepEqual(controls.sort(), [
    ['button', '確定'],
    ['button', '開啟設定檔'],  // the file inputs
    ['button', '開啟站點表格'],
    ['combobox', '惡意佔用外線設定'],
    ['option', '關閉'],
    ['option', '開啟'],
    ['radio', '自動取得IP位址'],
    ['radio', '使用下列的IP位址'],
    ['spinbutton', '來電響鈴超過'],
    ['textbox', 'CIPKEY'],
    ['textbox', 'IP位址'],
    ['textbox', '來電號碼推送位址'],
    ['textbox', '其他DNS 伺服器'],
    ['textbox', '子網路遮罩'],
    ['textbox', '慣用DNS伺服器'],
    ['textbox', '預設閘道'],
  ].sort());
  // The push address is the one multi-line field; the addresses offer a decimal keypad.
  assert.equal(await control(page, 'pushAddress').evaluate((e) => e.tagName), 'TEXTAREA');
  for (const key of ['ipAddress', 'subnetMask', 'defaultGateway', 'otherDnsServer',
    'preferredDnsServer']) {
    assert.equal(await control(page, key).getAttribute('inputmode'), 'decimal', key);
  }
  assert.equal(await page.getByRole('status').count(), 1);
  // The two lists of notes show only when they hold any; by role and name then. The
  // fresh form's fixed addresses (all 0.0.0.0) have hints; a loaded file has warnings.
  assert.equal(await control(page, 'loadWarnings').count(), 0);
  assert.equal(await control(page, 'networkHints').isVisible(), true);
  await control(page, 'automatic').check();
  assert.equal(await control(page, 'networkHints').count(), 0);
  await control(page, 'openSettingsFile').setInputFiles(fixture('foreign.dat'));
  await page.waitForSelector('form:not([aria-busy])', { state: 'attached' });
  assert.equal(await control(page, 'loadWarnings').isVisible(), true);
  await context.close();
});

test('the file is under 400 KB; the page is ready for input at once', async () => {
  const size = statSync(kPage).size;
  const { page, context, requests } = await openPage(browser, { viewport: kPhone });
  const ready = await page.evaluate(() => performance.getEntriesByName('tavrel-ready')[0].startTime);
  console.log(`tavrel.html: ${(size / 1024).toFixed(1)} KiB, ready ${ready.toFixed(0)} ms after navigation (requests routed through the test driver)`);
  assert.ok(size < 400 * 1024, `${size} bytes`);
  assert.equal(await control(page, 'confirm').isEnabled(), true);
  assert.deepEqual(requests, []);
  await confirm(page);
  await context.close();
});

test('a browser without WebAssembly is told so, the form left disabled', async () => {
  const context = await browser.newContext();
  await context.addInitScript(() => {
    delete globalThis.WebAssembly;
  });
  const page = await context.newPage();
  await page.goto(kPageUrl);
  await page.getByRole('status').filter({ hasText: '瀏覽器' }).waitFor();
  assert.equal(await page.locator('#confirm').isDisabled(), true);
  await context.close();
});
