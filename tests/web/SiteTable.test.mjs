// Site tables through 開啟站點表格: a table every row of which passes is saved at once as
// <table name>.zip, holding <name>/device_config.dat for each device, each file the bytes
// `tavrel-cli --codepage 950 batch` writes, and the same table gives the same zip; a table
// with any fault saves nothing and lists every fault, in Chinese, as batch refuses them.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { unzipSync } from 'fflate';
import {
  control, countDownloads, kCli, launch, openPage, removeFolder, scratchFolder,
  writeScratchFile,
} from './Support.mjs';

let browser;
before(async () => {
  browser = await launch();
});
after(() => browser?.close());

// What batch writes for a table: each device's folder name and its file's bytes. `ok`
// false: batch refuses the table, and the count of its refusal lines.
function batch(table) {
  const folder = scratchFolder();
  try {
    const out = join(folder, 'out');
    const result = { files: new Map(), refusals: 0 };
    try {
      execFileSync(kCli, ['--codepage', '950', 'batch', table, '--out', out],
        { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
    } catch (error) {
      result.refusals = error.stderr.split('\n').filter((line) => /^tavrel-cli: row \d+/.test(line))
        .length;
      return result;
    }
    for (const name of readdirSync(out)) {
      result.files.set(name, readFileSync(join(out, name, 'device_config.dat')));
    }
    return result;
  } finally {
    removeFolder(folder);
  }
}

// Opens a table through 開啟站點表格; resolves with the download, or null when there is
// none once the page has read the table.
async function openTable(page, path) {
  const download = page.waitForEvent('download', { timeout: 5000 }).catch(() => null);
  await control(page, 'openSiteTable').setInputFiles(path);
  await page.waitForSelector('form:not([aria-busy])', { state: 'attached' });
  return download;
}

async function zipFiles(download) {
  const entries = unzipSync(readFileSync(await download.path()));
  return new Map(Object.entries(entries));
}

const kTable = [
  'name,addressMode,ipAddress,subnetMask,defaultGateway,pushAddress,lineGuardMode,ringLimit,cipKey',
  '台北門市,0,192.168.1.10,255.255.255.0,192.168.1.1,"http://push.example.com/a',
  '第二行",1,3,密鑰一',
  '"高雄, 二號",1,,,,"x\r\ny",0,,',
  'plain-ascii,0,010.0.0.5,255.0.0.0,10.0.0.1,,-1,-7,"key ""quoted"""',
].join('\r\n') + '\r\n';

test('a table with quoted line breaks and Chinese names: the zip holds batch\'s files',
  async () => {
    const folder = scratchFolder();
    try {
      const path = writeScratchFile(folder, '分店 sites.csv', kTable);
      const expected = batch(path);
      assert.equal(expected.files.size, 3);
      const { page, context, requests, errors } = await openPage(browser);
      const download = await openTable(page, path);
      assert.ok(download, 'no zip saved');
      assert.equal(download.suggestedFilename(), '分店 sites.zip');
      const files = await zipFiles(download);
      assert.deepEqual([...files.keys()].sort(),
        [...expected.files.keys()].map((name) => `${name}/device_config.dat`).sort());
      for (const [name, bytes] of expected.files) {
        assert.deepEqual(Buffer.from(files.get(`${name}/device_config.dat`)), bytes, name);
      }
      assert.match(await page.getByRole('status').textContent(), /3.*分店 sites\.zip/);
      // The same table, the same zip, byte for byte.
      const again = await openTable(page, path);
      assert.deepEqual(readFileSync(await again.path()), readFileSync(await download.path()));
      assert.deepEqual(requests, []);
      assert.deepEqual(errors, []);
      await context.close();
    } finally {
      removeFolder(folder);
    }
  });

test('a faulty table saves nothing and lists every fault', async () => {
  const folder = scratchFolder();
  try {
    const path = writeScratchFile(folder, 'faulty.csv', [
      'name,ipAddress,ringLimit,cipKey',
      'ok,10.0.0.1,3,k',
      'bad-ip,10.0.0.300,3,k',
      'bad/name,10.0.0.2,x,k',
      'ok,10.0.0.3,1,k',
      'key,10.0.0.4,1,😀',
    ].join('\n'));
    const expected = batch(path);
    assert.equal(expected.files.size, 0);
    assert.equal(expected.refusals, 5, `batch gave ${expected.refusals} refusals`);
    const { page, context } = await openPage(browser);
    const counter = countDownloads(page);
    assert.equal(await openTable(page, path), null);
    assert.equal(counter.downloads, 0);
    const faults = await page.getByRole('list', { name: '站點表格錯誤' }).getByRole('listitem')
      .allTextContents();
    assert.equal(faults.length, expected.refusals, faults.join('\n'));
    for (const row of ['3', '4', '5', '6']) {
      assert.ok(faults.some((fault) => fault.includes(row)), `row ${row}: ${faults.join('\n')}`);
    }
    assert.equal(await page.getByRole('status').textContent(), '');
    await context.close();
  } finally {
    removeFolder(folder);
  }
});
