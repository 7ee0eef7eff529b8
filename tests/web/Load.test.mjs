// Settings files loaded through 開啟設定檔 and by dropping them on the page: the form
// shows what `tavrel-cli show --json` gives, and confirming writes what
// `tavrel-cli write --base` writes; a push address's lone CR or LF stays as loaded
// until its field is edited; the load warnings are listed in 載入警告, one item for each
// warning `show --json` gives; a file of any size is read only as far as matters.
import assert from 'node:assert/strict';
import { readdirSync, readFileSync } from 'node:fs';
import { after, before, describe, test } from 'node:test';
import {
  cli, cliShown, cliWrite, confirm, control, fixture, kFixtures, launch, listItems, openPage,
  removeFolder, scratchFolder, shownValues, writeScratchFile,
} from './Support.mjs';

let browser;
before(async () => {
  browser = await launch();
});
after(() => browser?.close());

// Opens a file through 開啟設定檔 and waits until the form shows it.
async function open(page, path) {
  await control(page, 'openSettingsFile').setInputFiles(path);
  await loaded(page);
}

function loaded(page) {
  return page.waitForSelector('form:not([aria-busy])', { state: 'attached' });
}

describe('each shared fixture, opened', () => {
  const fixtures = readdirSync(kFixtures).filter((name) => name.endsWith('.dat')).sort();
  assert.ok(fixtures.length >= 5);
  for (const name of fixtures) {
    test(name, async () => {
      const { page, context, requests, errors } = await openPage(browser);
      await open(page, fixture(name));
      assert.deepEqual(await shownValues(page), cliShown(fixture(name)));
      const { warnings } = JSON.parse(cli(['show', '--json', fixture(name)]));
      assert.equal((await listItems(page, 'loadWarnings')).length, warnings.length);
      const download = await confirm(page);
      assert.deepEqual(download.bytes, cliWrite(['--base', fixture(name)]));
      assert.deepEqual(requests, []);
      assert.deepEqual(errors, []);
      await context.close();
    });
  }
});

// The warnings in Chinese, as form/ words them, and gone when the next file has none.
test('foreign.dat\'s load warnings, then none for a file the dialog wrote', async () => {
  const { page, context } = await openPage(browser);
  await open(page, fixture('foreign.dat'));
  const items = await listItems(page, 'loadWarnings');
  assert.equal(items.length, 8);
  assert.match(items[0], /位址模式/);
  assert.match(items[1], /"10\.1"/);
  await open(page, fixture('full-form.dat'));
  assert.equal(await control(page, 'loadWarnings').count(), 0);
  await context.close();
});

test('a lone CR or LF is written back as loaded until the field is edited', async () => {
  const { page, context } = await openPage(browser);
  const path = fixture('line-breaks.dat');
  await open(page, path);
  assert.deepEqual((await confirm(page)).bytes, readFileSync(path));
  // Editing another field keeps it.
  await control(page, 'cipKey').fill('k');
  assert.deepEqual((await confirm(page)).bytes, cliWrite(['--base', path, '--key', 'k']));
  // Editing the field itself: from then on its line breaks are the form's CR LF.
  await control(page, 'pushAddress').press('End');
  await page.keyboard.type('d');
  assert.deepEqual((await confirm(page)).bytes,
    cliWrite(['--base', path, '--key', 'k', '--push', 'a\nb\ncd']));
  await context.close();
});

// A full field refuses what is typed, and a refused key press is no edit: the loaded
// text, with its lone LF, is still what is saved.
test('a refused insertion leaves the loaded text as it was', async () => {
  const folder = scratchFolder();
  try {
    const record = readFileSync(fixture('fresh-form.dat'));
    record.write(`${'x'.repeat(248)}\ny`, 388, 'utf16le');
    const path = writeScratchFile(folder, 'full.dat', record);
    const { page, context } = await openPage(browser);
    await open(page, path);
    await control(page, 'pushAddress').press('End');
    await page.keyboard.type('z');
    assert.equal(await control(page, 'pushAddress').inputValue(), `${'x'.repeat(248)}\ny`);
    assert.deepEqual((await confirm(page)).bytes, record);
    await context.close();
  } finally {
    removeFolder(folder);
  }
});

test('a dropped file loads as an opened one', async () => {
  const { page, context } = await openPage(browser);
  const bytes = [...readFileSync(fixture('full-form.dat'))];
  await page.evaluate((content) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([new Uint8Array(content)], 'device_config.dat'));
    const target = document.querySelector('main');
    for (const type of ['dragenter', 'dragover', 'drop']) {
      target.dispatchEvent(new DragEvent(type, { bubbles: true, cancelable: true,
        dataTransfer: transfer }));
    }
  }, bytes);
  await loaded(page);
  assert.deepEqual(await shownValues(page), cliShown(fixture('full-form.dat')));
  await context.close();
});

// A large file: only its first 1037 bytes are read (the record, and one byte that tells a
// longer file), and what it holds past them changes nothing.
test('a file of any size is read only as far as matters', async () => {
  const folder = scratchFolder();
  try {
    const big = Buffer.alloc(64 * 1024 * 1024, 0x41);
    readFileSync(fixture('full-form.dat')).copy(big);
    const path = writeScratchFile(folder, 'big.dat', big);
    const { page, context } = await openPage(browser);
    await page.evaluate(() => {
      window.readSizes = [];
      for (const method of ['arrayBuffer', 'text', 'stream', 'bytes']) {
        const original = Blob.prototype[method];
        if (original) {
          Blob.prototype[method] = function read(...args) {
            window.readSizes.push(this.size);
            return original.apply(this, args);
          };
        }
      }
    });
    await open(page, path);
    assert.deepEqual(await page.evaluate(() => window.readSizes), [1037]);
    assert.deepEqual(await shownValues(page), cliShown(fixture('full-form.dat')));
    assert.deepEqual((await confirm(page)).bytes, readFileSync(fixture('full-form.dat')));
    await context.close();
  } finally {
    removeFolder(folder);
  }
});

test('file contents never become page markup', async () => {
  const folder = scratchFolder();
  try {
    const markup = '<img src=x onerror="window.injected=1"><b>bold</b>';
    const path = writeScratchFile(folder, 'markup.dat', cliWrite(['--push', markup,
      '--key', '<script>k</script>']));
    const { page, context, requests } = await openPage(browser);
    await open(page, path);
    assert.equal(await control(page, 'pushAddress').inputValue(), markup);
    assert.equal(await page.locator('main b, main img').count(), 0);
    assert.equal(await page.evaluate(() => window.injected), undefined);
    assert.deepEqual(requests, []);
    await context.close();
  } finally {
    removeFolder(folder);
  }
});
