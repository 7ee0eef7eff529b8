// The form filled in as a person fills it in, confirmed, and the download compared byte
// for byte with what `tavrel-cli write` writes for the same values; the key's code page
// 950 over many characters, rare ones included; the typing limits of the dialog's
// controls; the address fields in automatic mode.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { after, before, describe, test } from 'node:test';
import {
  cli, cliWrite, confirm, control, countDownloads, fillForm, fixture, kCli, kWords, launch,
  listItems, openPage, typeInto,
} from './Support.mjs';

let browser;
before(async () => {
  browser = await launch();
});
after(() => browser?.close());

const kKeySlot = [908, 1036];

describe('a value set typed in, confirmed, is the file tavrel-cli write makes', () => {
  const cases = [
    {
      name: 'the full form (the shared fixture)',
      form: {
        fixed: true, ipAddress: '192.168.0.20', defaultGateway: '192.168.0.1',
        otherDnsServer: '8.8.4.4', preferredDnsServer: '8.8.8.8',
        pushAddress: 'http://push.example.com/call\n中文推送', lineGuardMode: '開啟',
        ringLimit: '3', cipKey: '密鑰Key123',
      },
      cli: ['--fixed', '--ip', '192.168.0.20', '--gateway', '192.168.0.1',
        '--other-dns', '8.8.4.4', '--preferred-dns', '8.8.8.8',
        '--push', 'http://push.example.com/call\n中文推送', '--guard', 'on', '--rings', '3',
        '--key', '密鑰Key123'],
      fixture: 'full-form.dat',
    },
    {
      name: 'automatic mode, every address changed first, a Chinese key and two line breaks',
      form: {
        fixed: true, ipAddress: '10.20.30.40', subnetMask: '255.255.0.0',
        defaultGateway: '10.20.0.254', otherDnsServer: '1.0.0.1', preferredDnsServer: '1.1.1.1',
        pushAddress: '第一行\n\nhttps://例子.tw/推送?號碼=', ringLimit: '', cipKey: '臺灣設定密鑰€',
        lineGuardMode: '關閉',
      },
      then: { fixed: false },
      cli: ['--auto', '--ip', '10.20.30.40', '--mask', '255.255.0.0', '--gateway', '10.20.0.254',
        '--other-dns', '1.0.0.1', '--preferred-dns', '1.1.1.1',
        '--push', '第一行\n\nhttps://例子.tw/推送?號碼=', '--guard', 'off', '--rings', '0',
        '--key', '臺灣設定密鑰€'],
    },
    {
      // An address's leading zeros are decimal, as in tavrel-cli: 010 is 10.
      name: 'addresses with leading zeros',
      form: { fixed: true, ipAddress: '010.001.002.003', defaultGateway: '010.1.2.254' },
      cli: ['--fixed', '--ip', '010.001.002.003', '--gateway', '010.1.2.254'],
      also: ['--fixed', '--ip', '10.1.2.3', '--gateway', '10.1.2.254'],
    },
    {
      name: 'the largest values the controls take',
      form: {
        fixed: true, ipAddress: '255.255.255.255', subnetMask: '0.0.0.0',
        pushAddress: `${'x'.repeat(100)}\n${'推'.repeat(148)}`, ringLimit: '999999999',
        cipKey: `${'k'.repeat(61)}中`, lineGuardMode: '開啟',
      },
      cli: ['--fixed', '--ip', '255.255.255.255', '--mask', '0.0.0.0',
        '--push', `${'x'.repeat(100)}\n${'推'.repeat(148)}`, '--guard', 'on',
        '--rings', '999999999', '--key', `${'k'.repeat(61)}中`],
    },
  ];
  for (const c of cases) {
    test(c.name, async () => {
      const { page, context, requests, errors } = await openPage(browser);
      await fillForm(page, c.form);
      if (c.then) {
        await fillForm(page, c.then);
      }
      const download = await confirm(page);
      assert.equal(download.name, 'device_config.dat');
      assert.deepEqual(download.bytes, cliWrite(c.cli));
      if (c.also) {
        assert.deepEqual(download.bytes, cliWrite(c.also));
      }
      if (c.fixture) {
        assert.deepEqual(download.bytes, readFileSync(fixture(c.fixture)));
      }
      assert.equal(await page.getByRole('status').textContent(), kWords.fileCreated);
      assert.deepEqual(requests, []);
      assert.deepEqual(errors, []);
      await context.close();
    });
  }
});

// Code-page-950 characters from across the code page (symbols, frequent and rare
// characters, the private-use area, the codes the code page adds to Big5, the characters
// with two codes): the Linux CLI decodes each code, the page takes the characters as
// typed, and its key bytes are the CLI's for the same text.
test('the key in code page 950, over many characters, is the Linux CLI\'s', async () => {
  const codes = [0xA140, 0xA1C3, 0xA2CC, 0xA2CE, 0xA3E1, 0xA451, 0xA4CA, 0xC6A1, 0xC8FE,
    0xF9D6, 0xF9FE];
  for (let lead = 0xA1; lead <= 0xF9; lead += 1) {
    for (const trail of [0x40, 0x5F + (lead % 31), 0x7E, 0xA1 + (lead % 50), 0xFE]) {
      codes.push(lead << 8 | trail);
    }
  }
  const record = Buffer.alloc(1036);
  const characters = [];
  for (let i = 0; i < codes.length; i += 60) {
    const batch = codes.slice(i, i + 60);
    record.fill(0, 908);
    batch.forEach((code, k) => record.writeUInt16BE(code, 908 + 2 * k));
    const shown = JSON.parse(cliShow(record)).cipKey;
    characters.push(...[...shown].filter((c) => c !== '?'));
  }
  assert.ok(characters.length > 300, `${characters.length} characters`);

  const { page, context, requests } = await openPage(browser);
  for (let i = 0; i < characters.length; i += 31) {
    const key = characters.slice(i, i + 31).join('');
    await typeInto(page, 'cipKey', key);
    assert.equal(await control(page, 'cipKey').inputValue(), key);
    const download = await confirm(page);
    assert.deepEqual(download.bytes.subarray(...kKeySlot),
      cliWrite(['--key', key]).subarray(...kKeySlot), key);
  }
  assert.deepEqual(requests, []);
  await context.close();
});

function cliShow(record) {
  return execFileSync(kCli, ['show', '--json', '-'], { input: record, encoding: 'utf8' });
}

describe('typing is held to what the dialog\'s controls take', () => {
  test('the key: 63 bytes in code page 950, a character never split', async () => {
    const { page, context } = await openPage(browser);
    await typeInto(page, 'cipKey', 'a'.repeat(70));
    assert.equal(await control(page, 'cipKey').inputValue(), 'a'.repeat(63));
    await typeInto(page, 'cipKey', `${'a'.repeat(62)}中b`);
    assert.equal(await control(page, 'cipKey').inputValue(), `${'a'.repeat(62)}b`);
    await typeInto(page, 'cipKey', '中'.repeat(40));
    assert.equal(await control(page, 'cipKey').inputValue(), '中'.repeat(31));
    // A paste takes the part that fits.
    await typeInto(page, 'cipKey', 'abc');
    await control(page, 'cipKey').press('End');
    await page.keyboard.insertText('密'.repeat(40));
    assert.equal(await control(page, 'cipKey').inputValue(), `abc${'密'.repeat(30)}`);
    await context.close();
  });

  // Chinese is typed through an input method: what it commits is held to the limit too.
  test('the key: a character an input method commits, when it fits', async () => {
    const { page, context } = await openPage(browser);
    const session = await context.newCDPSession(page);
    const compose = async (reading, character) => {
      await session.send('Input.imeSetComposition',
        { text: reading, selectionStart: reading.length, selectionEnd: reading.length });
      await session.send('Input.insertText', { text: character });
    };
    await typeInto(page, 'cipKey', 'a'.repeat(61));
    await compose('mi', '密');
    assert.equal(await control(page, 'cipKey').inputValue(), `${'a'.repeat(61)}密`);
    await control(page, 'cipKey').press('Backspace');
    await page.keyboard.type('b');
    await compose('yao', '鑰');
    assert.equal(await control(page, 'cipKey').inputValue(), `${'a'.repeat(61)}b`);
    await context.close();
  });

  test('the push address: 250 characters, a line break counting two', async () => {
    const { page, context } = await openPage(browser);
    await typeInto(page, 'pushAddress', `${'p'.repeat(247)}\nqrs`);
    assert.equal(await control(page, 'pushAddress').inputValue(), `${'p'.repeat(247)}\nq`);
    await typeInto(page, 'pushAddress', `${'p'.repeat(249)}\n`);
    assert.equal(await control(page, 'pushAddress').inputValue(), 'p'.repeat(249));
    await context.close();
  });

  test('the ring count: digits only, at most nine', async () => {
    const { page, context } = await openPage(browser);
    await typeInto(page, 'ringLimit', '12-e3.4+5678901');
    assert.equal(await control(page, 'ringLimit').inputValue(), '123456789');
    const download = await confirm(page);
    assert.deepEqual(download.bytes, cliWrite(['--rings', '123456789']));
    await context.close();
  });

  test('an address: digits and dots, at most fifteen', async () => {
    const { page, context } = await openPage(browser);
    await control(page, 'fixed').check();
    await typeInto(page, 'ipAddress', '192.168.a1.1 0 0.1.2');
    assert.equal(await control(page, 'ipAddress').inputValue(), '192.168.1.100.1');
    await context.close();
  });
});

test('the five address fields take input in the fixed mode only', async () => {
  const { page, context } = await openPage(browser);
  const addresses = ['ipAddress', 'subnetMask', 'defaultGateway', 'otherDnsServer',
    'preferredDnsServer'];
  for (const key of addresses) {
    assert.equal(await control(page, key).isDisabled(), true, key);
  }
  await control(page, 'fixed').check();
  for (const key of addresses) {
    assert.equal(await control(page, key).isEnabled(), true, key);
  }
  await typeInto(page, 'defaultGateway', '10.0.0.1');
  await control(page, 'automatic').check();
  assert.equal(await control(page, 'defaultGateway').isDisabled(), true);
  // What the fields hold is kept and saved, as the dialog keeps it.
  const download = await confirm(page);
  assert.deepEqual(download.bytes, cliWrite(['--auto', '--gateway', '10.0.0.1']));
  await context.close();
});

// Each refusal is the one tavrel-cli write gives for the same text (its Chinese), beside
// the field; nothing is downloaded or stored while any field refuses.
describe('a field that refuses its text says why beside it, and nothing is saved', () => {
  const cases = [
    { key: 'ipAddress', text: '192.168.300.1', reason: /"192\.168\.300\.1" 不是位址/ },
    { key: 'subnetMask', text: '255.255.0', reason: /"255\.255\.0" 不是位址/ },
    { key: 'defaultGateway', text: '10..0.1', reason: /不是位址/ },
    { key: 'cipKey', text: 'key😀', reason: /950/, cli: ['--key', 'key😀'] },
    { key: 'cipKey', text: 'ß', reason: /950/, cli: ['--key', 'ß'] },
  ];
  for (const c of cases) {
    test(`${c.key} ${JSON.stringify(c.text)}`, async () => {
      const { page, context } = await openPage(browser);
      await control(page, 'fixed').check();
      await typeInto(page, c.key, c.text);
      if (c.cli) {
        assert.throws(() => cliWrite(c.cli));  // the CLI refuses it too
      }
      const counter = countDownloads(page);
      await control(page, 'confirm').click();
      const field = control(page, c.key);
      assert.equal(await field.getAttribute('aria-invalid'), 'true');
      const refusal = page.locator(`#${(await field.getAttribute('aria-describedby'))
        .split(' ').at(-1)}`);
      assert.equal(await refusal.isVisible(), true);
      assert.match(await refusal.textContent(), c.reason);
      assert.equal(await page.getByRole('status').textContent(), '');
      assert.equal(counter.downloads, 0);
      assert.equal(await page.evaluate(() => localStorage.length), 0);
      // Mended, the form saves, and the refusal is gone.
      await typeInto(page, c.key, c.key === 'cipKey' ? 'key' : '10.0.0.1');
      assert.equal(await refusal.isVisible(), false);
      await confirm(page);
      await context.close();
    });
  }
});

// Fixed mode: the hints form/ gives, listed as the values change; confirming still saves.
test('network hints are listed as the values change, and never block', async () => {
  const { page, context } = await openPage(browser);
  assert.deepEqual(await listItems(page, 'networkHints'), []);
  await fillForm(page, { fixed: true, ipAddress: '192.168.1.10', subnetMask: '255.0.255.0',
    defaultGateway: '10.0.0.1' });
  const hints = await listItems(page, 'networkHints');
  assert.ok(hints.some((hint) => hint.includes('255.0.255.0')), hints.join('\n'));
  assert.ok(hints.some((hint) => hint.includes('10.0.0.1')), hints.join('\n'));
  assert.equal(JSON.parse(cli(['show', '--json', '-'], {
    input: cliWrite(['--fixed', '--ip', '192.168.1.10', '--mask', '255.0.255.0',
      '--gateway', '10.0.0.1']),
  })).hints.length, hints.length);
  const download = await confirm(page);
  assert.deepEqual(download.bytes, cliWrite(['--fixed', '--ip', '192.168.1.10',
    '--mask', '255.0.255.0', '--gateway', '10.0.0.1']));
  await control(page, 'automatic').check();
  assert.deepEqual(await listItems(page, 'networkHints'), []);
  await context.close();
});
