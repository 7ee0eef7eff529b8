// Builds the page's one self-contained file: the HTML template with its marks replaced by
// the styles, the scripts, the icon (as a data: address) and the version, so that the
// file needs nothing beside it and makes no request. Run by web/CMakeLists.txt:
//
//   node BuildPage.mjs --template Page.html --styles Page.css --icon tavrel.png
//       --version 1.0.0.1 --script NAME=FILE... [--licence NAME=FILE...]
//       [--base64 NAME=FILE...] [--words HEADER --word NAME=kConstant...] --out tavrel.html
//
// Marks in the template: /*@styles@*/, /*@icon@*/, /*@version@*/, /*@script:NAME@*/ and
// /*@base64:NAME@*/ (a binary file as base64, for a string in a script) and /*@word:NAME@*/
// (a word of the form's words header, HEADER, as a JavaScript string: for what the page
// says before the compiled form, which gives it every other word, has started).
// A script's licence, when given, goes in a comment before it. The output depends on the
// inputs alone, so the same sources give the same bytes.
import { readFileSync, writeFileSync } from 'node:fs';
import { parseArgs } from 'node:util';

function fail(message) {
  process.stderr.write(`web/BuildPage.mjs: ${message}\n`);
  process.exit(1);
}

const { values: args } = parseArgs({
  options: {
    template: { type: 'string' },
    styles: { type: 'string' },
    icon: { type: 'string' },
    version: { type: 'string' },
    script: { type: 'string', multiple: true },
    licence: { type: 'string', multiple: true, default: [] },
    base64: { type: 'string', multiple: true, default: [] },
    words: { type: 'string' },
    word: { type: 'string', multiple: true, default: [] },
    out: { type: 'string' },
  },
});
for (const name of ['template', 'styles', 'icon', 'version', 'script', 'out']) {
  if (args[name] === undefined) {
    fail(`--${name} is required`);
  }
}

function named(list) {
  return new Map(list.map((entry) => {
    const at = entry.indexOf('=');
    if (at < 1) {
      fail(`"${entry}" is not NAME=FILE`);
    }
    return [entry.slice(0, at), entry.slice(at + 1)];
  }));
}

const read = (file) => readFileSync(file, 'utf8');

// Text inside <script> or <style> ends at the first closing tag, and "<!--" or "<script"
// in a script changes how the rest is read: none may occur in what is put there.
function checkedInline(text, what, forbidden) {
  for (const pattern of forbidden) {
    if (pattern.test(text)) {
      fail(`${what} holds ${pattern}, which would end or change the element it goes into`);
    }
  }
  return text;
}

const scriptForbidden = [/<\/script/i, /<!--/, /<script/i];
const scripts = named(args.script);
const licences = named(args.licence);
const parts = new Map([
  ['styles', checkedInline(read(args.styles), args.styles, [/<\/style/i])],
  ['icon', `data:image/png;base64,${readFileSync(args.icon).toString('base64')}`],
  ['version', args.version.replace(/[^0-9A-Za-z.+-]/g, '')],
]);
for (const [name, file] of scripts) {
  let text = checkedInline(read(file), file, scriptForbidden);
  if (licences.has(name)) {
    const licence = read(licences.get(name)).replaceAll('*/', '* /').trimEnd();
    text = `/*!\n${licence}\n*/\n${text}`;
  }
  parts.set(`script:${name}`, text);
}

for (const [name, file] of named(args.base64)) {
  parts.set(`base64:${name}`, readFileSync(file).toString('base64'));
}

const words = named(args.word);
if (words.size > 0 && args.words === undefined) {
  fail('--word needs --words');
}
for (const [name, constant] of words) {
  const literal = read(args.words).match(
    new RegExp(`\\b${constant}\\s*=\\s*u"([^"\\\\]*)"`));
  if (!literal) {
    fail(`${args.words} has no plain u"..." literal named ${constant}`);
  }
  parts.set(`word:${name}`, JSON.stringify(literal[1]));
}

const used = new Set();
const page = read(args.template).replace(/\/\*@([A-Za-z0-9:]+)@\*\//g, (mark, name) => {
  if (!parts.has(name)) {
    fail(`the template's mark ${mark} has nothing to put in its place`);
  }
  used.add(name);
  return parts.get(name);
});
for (const name of parts.keys()) {
  if (!used.has(name)) {
    fail(`the template has no mark for ${name}`);
  }
}
writeFileSync(args.out, page);
