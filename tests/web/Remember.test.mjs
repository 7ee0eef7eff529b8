// The page's stored copy: a fresh browser shows the fresh form exactly as the programs do
// with no stored copy; the last confirmed settings come back at the next open, byte for
// byte, lone line breaks included.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { after, before, test } from 'node:test';
import {
  cliShown, confirm, control, fillForm, fixture, launch, openPage, reload, shownValues,
} from './Support.mjs';

let browser;
before(async () => {
  browser = await launch();
});
after(() => browser?.close());

const kFreshForm = {
  addressMode: 1,
  ipAddress: '',
  subnetMask: '255.255.255.0',
  defaultGateway: '',
  otherDnsServer: '',
  preferredDnsServer: '',
  pushAddress: '',
  lineGuardMode: 0,
  ringLimit: 0,
  cipKey: '',
};

test('a fresh browser shows the fresh form, which confirms to the fresh file', async () => {
  const { page, context, requests } = await openPage(browser);
  assert.deepEqual(await shownValues(page), kFreshForm);
  assert.equal(await page.evaluate(() => localStorage.length), 0);
  assert.deepEqual((await confirm(page)).bytes, readFileSync(fixture('fresh-form.dat')));
  assert.deepEqual(requests, []);
  await context.close();
});

test('the last confirmed settings come back at the next open, in this browser only', async () => {
  const { page, context, requests } = await openPage(browser);
  await fillForm(page, { fixed: true, ipAddress: '172.16.5.4', pushAddress: 'http://a\nb',
    lineGuardMode: '開啟', ringLimit: '7', cipKey: '金鑰' });
  const first = (await confirm(page)).bytes;
  await fillForm(page, { cipKey: '第二把' });  // typed, never confirmed
  await reload(page);

  const shown = await shownValues(page);
  assert.deepEqual(shown, cliShown(first));
  assert.equal(shown.cipKey, '金鑰');
  assert.deepEqual((await confirm(page)).bytes, first);

  // Another profile keeps nothing of it.
  const other = await openPage(browser);
  assert.deepEqual(await shownValues(other.page), kFreshForm);
  await other.context.close();
  assert.deepEqual(requests, []);
  await context.close();
});

test('the stored copy keeps a loaded push address\'s lone CR and LF', async () => {
  const { page, context } = await openPage(browser);
  await control(page, 'openSettingsFile').setInputFiles(fixture('line-breaks.dat'));
  await page.waitForSelector('form:not([aria-busy])', { state: 'attached' });
  await confirm(page);
  await reload(page);
  assert.deepEqual((await confirm(page)).bytes, readFileSync(fixture('line-breaks.dat')));
  await context.close();
});
