// The page's form: it shows the settings values the record gives (the last confirmed
// copy, a loaded file with its load warnings, or the fresh form), limits typing as the
// dialog's controls do, lists the network hints as the values change, and on confirming reads
// each field through the form's check (refusing, beside the field, what tavrel-cli write
// refuses) and turns the values into the 1036 bytes of device_config.dat, offered as a
// download and kept in the browser's local storage as the page's stored copy. A site
// table becomes a zip of one device_config.dat per device, as `batch` writes them. Every
// word, rule and byte comes from the record and the form compiled to WebAssembly
// (web/Bindings.cpp, TavrelCore); this script only moves values between it and the
// controls. Nothing from a file is ever put into the page as HTML.
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);

  // The stored copy: the last confirmed record, base64, under this key.
  const kStorageKey = 'tavrel.deviceConfig';

  // Each address of the form: its value's name and its field, in the dialog's order.
  const kAddressFields = [
    ['ipAddress', 'ip-address'],
    ['subnetMask', 'subnet-mask'],
    ['defaultGateway', 'default-gateway'],
    ['otherDnsServer', 'other-dns-server'],
    ['preferredDnsServer', 'preferred-dns-server'],
  ];

  // Each field's value name and its control, where the page reads it from text.
  const kTextFields = [
    ...kAddressFields,
    ['pushAddress', 'push-address'],
    ['ringLimit', 'ring-limit'],
    ['cipKey', 'cip-key'],
  ];
  const kFieldOfKey = new Map([...kTextFields, ['lineGuardMode', 'line-guard']]);

  // Zip entries carry this time, so that the same table gives the same zip.
  const kZipTime = new Date(1980, 0, 1, 0, 0, 0);

  let core = null;
  let constants = null;
  let words = null;

  // The values the form was last filled with: what a field the user has not edited since
  // (a loaded push address or key, kept exactly) saves.
  let shownValues = null;

  // Texts as loaded (from a file or the stored copy), kept exactly until the user edits
  // their field: a text field holds line breaks as LF only, and a one-line field drops
  // them, so a lone CR or LF would otherwise not be written back as it was.
  const loaded = { pushAddress: '', cipKey: '' };
  const loadedFieldOf = { 'push-address': 'pushAddress', 'cip-key': 'cipKey' };

  // What each limited field held after its last accepted change.
  const accepted = new Map();

  function showWords() {
    for (const element of document.querySelectorAll('[data-word]')) {
      element.textContent = words[element.dataset.word];
    }
    for (const element of document.querySelectorAll('[data-word-label]')) {
      element.setAttribute('aria-label', words[element.dataset.wordLabel]);
    }
  }

  // A list of sentences, shown only when there are any; each a list item, as text.
  function showList(id, sentences) {
    const list = $(id);
    list.replaceChildren(...sentences.map((sentence) => {
      const item = document.createElement('li');
      item.textContent = sentence;
      return item;
    }));
    $(`${id}-box`).hidden = sentences.length === 0;
  }

  function setField(element, text) {
    element.value = text;
    accepted.set(element, element.value);
  }

  // The five address fields take input only in the fixed address mode.
  function enableAddressFields() {
    const fixed = $('fixed-address').checked;
    for (const [, id] of kAddressFields) {
      $(id).disabled = !fixed;
    }
  }

  function clearRefusals() {
    for (const element of document.querySelectorAll('.refusal')) {
      element.hidden = true;
      element.textContent = '';
    }
    for (const element of document.querySelectorAll('[aria-invalid]')) {
      element.removeAttribute('aria-invalid');
    }
  }

  function showValues(values) {
    clearRefusals();
    shownValues = values;
    $('automatic-address').checked = values.automaticAddress;
    $('fixed-address').checked = !values.automaticAddress;
    enableAddressFields();
    for (const [key, id] of kAddressFields) {
      setField($(id), core.addressText(values[key]));
    }
    setField($('push-address'), values.pushAddress);
    loaded.pushAddress = values.pushAddress;
    $('line-guard').selectedIndex = values.lineGuardMode;
    setField($('ring-limit'), String(values.ringLimit));
    setField($('cip-key'), values.cipKey);
    loaded.cipKey = values.cipKey;
    showHints();
  }

  // The form as the programs show it with no stored copy: a blank address control stands
  // for 0, so every address but the mask is blank.
  function showFreshForm() {
    const values = core.freshValues();
    showValues(values);
    for (const [key, id] of kAddressFields) {
      if (values[key] === 0) {
        setField($(id), '');
      }
    }
    showHints();
  }

  // The text of each field as tavrel-cli write reads it (the fields' keys, their text
  // forms): a blank address is 0 and a blank ring count 0, as the dialog reads its blank
  // controls; a loaded push address or key that was not edited since is left out, so that
  // it saves exactly as loaded.
  function fieldTexts() {
    const texts = { addressMode: $('automatic-address').checked ? '1' : '0' };
    for (const [key, id] of kAddressFields) {
      texts[key] = $(id).value === '' ? '0.0.0.0' : $(id).value;
    }
    if (loaded.pushAddress === null) {
      texts.pushAddress = $('push-address').value;
    }
    texts.lineGuardMode = String($('line-guard').selectedIndex);
    texts.ringLimit = $('ring-limit').value === '' ? '0' : $('ring-limit').value;
    if (loaded.cipKey === null) {
      texts.cipKey = $('cip-key').value;
    }
    return texts;
  }

  // The form's values ({ values, refused, refusals }: the reasons by key).
  function readValues() {
    return core.readFields(shownValues, fieldTexts());
  }

  function showRefusals(refusals) {
    let first = null;
    for (const [key, text] of Object.entries(refusals)) {
      const id = kFieldOfKey.get(key);
      const refusal = $(`${id}-refusal`);
      refusal.textContent = text;
      refusal.hidden = false;
      $(id).setAttribute('aria-invalid', 'true');
      first ??= id;
    }
    $(first).focus();
  }

  // The network hints of the values as they stand (a field that refuses its text counts
  // as it was); never blocking.
  function showHints() {
    showList('network-hints', core.networkHints(readValues().values));
  }

  function download(bytes, name) {
    const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    link.hidden = true;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  }

  function toBase64(bytes) {
    let text = '';
    for (const byte of bytes) {
      text += String.fromCharCode(byte);
    }
    return btoa(text);
  }

  function fromBase64(text) {
    return Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
  }

  // The stored copy is quiet, as the programs' is: a browser that keeps nothing (local
  // storage turned off or full) still gets its download.
  function remember(bytes) {
    try {
      localStorage.setItem(kStorageKey, toBase64(bytes));
    } catch {
      // nothing kept
    }
  }

  function storedRecord() {
    try {
      const text = localStorage.getItem(kStorageKey);
      return text === null ? null : fromBase64(text);
    } catch {
      return null;
    }
  }

  function setStatus(text) {
    $('status').textContent = text;
  }

  function confirm(event) {
    event.preventDefault();
    clearRefusals();
    setStatus('');
    const { values, refused, refusals } = readValues();
    if (refused) {
      showRefusals(refusals);
      return;
    }
    const bytes = core.saveValues(values);
    download(bytes, constants.settingsFileName);
    remember(bytes);
    setStatus(words.fileCreated);
  }

  function clearFileNotes() {
    clearRefusals();
    setStatus('');
    for (const id of ['load-warnings', 'table-problems', 'table-hints']) {
      showList(id, []);
    }
  }

  function fileUnreadable() {
    $('file-refusal').textContent = words.fileUnreadable;
    $('file-refusal').hidden = false;
  }

  // A settings file, read only as far as matters: the record and one byte more. The form
  // is busy until it shows what the file holds and the load warnings.
  async function openSettingsFile(file) {
    clearFileNotes();
    $('settings').setAttribute('aria-busy', 'true');
    try {
      const head = new Uint8Array(
        await file.slice(0, constants.settingsReadLimit).arrayBuffer());
      const { values, warnings } = core.loadSettings(head, file.size);
      showValues(values);
      showList('load-warnings', warnings);
    } catch {
      fileUnreadable();
    } finally {
      $('settings').removeAttribute('aria-busy');
    }
  }

  // A site table, read as `batch` reads it (at most its size limit), each row from the
  // fresh values: every problem listed and nothing saved when there is any; otherwise
  // <table name>.zip saved at once, holding <name>/device_config.dat for each device.
  async function openSiteTable(file) {
    clearFileNotes();
    $('settings').setAttribute('aria-busy', 'true');
    try {
      const bytes = file.size > constants.tableReadLimit ? new Uint8Array(0) :
        new Uint8Array(await file.slice(0, constants.tableReadLimit).arrayBuffer());
      const { problems, hints, devices } = core.readTable(bytes, file.size);
      showList('table-hints', hints);
      if (problems.length > 0) {
        showList('table-problems', problems);
        return;
      }
      const entries = {};
      for (const { name, bytes: record } of devices) {
        entries[`${name}/${constants.settingsFileName}`] = record;
      }
      const zipName = `${file.name.replace(/\.csv$/i, '')}.zip`;
      download(fflate.zipSync(entries, { level: 6, mtime: kZipTime }), zipName);
      setStatus(core.tableFilesMade(devices.length, zipName));
    } catch {
      fileUnreadable();
    } finally {
      $('settings').removeAttribute('aria-busy');
    }
  }

  // Typing, pasting, dropping text and composing are held to the field's limit: what
  // changed is found by comparing with the last accepted text, and only the part of the
  // insertion that the field takes is kept (TavrelCore.fitInsertion, the dialog's rule).
  function limitTyping(element, field) {
    element.addEventListener('beforeinput', (event) => {
      const inserted = event.data ?? event.dataTransfer?.getData('text/plain') ?? null;
      if (event.inputType.startsWith('insert') && inserted && !event.isComposing &&
          core.fitInsertion(field, '', inserted) === 0) {
        event.preventDefault();  // characters the field does not take at all
      }
    });
    const check = () => {
      if (element.validity.badInput) {
        element.value = accepted.get(element);
        return;
      }
      const before = accepted.get(element);
      const now = element.value;
      const isLow = (text, i) => /[\uDC00-\uDFFF]/.test(text.charAt(i));
      let start = 0;
      while (start < before.length && start < now.length && before[start] === now[start]) {
        start += 1;
      }
      if (start > 0 && isLow(now, start)) {
        start -= 1;  // never inside a surrogate pair
      }
      let end = 0;
      while (end < before.length - start && end < now.length - start &&
             before[before.length - 1 - end] === now[now.length - 1 - end]) {
        end += 1;
      }
      if (end > 0 && isLow(now, now.length - end)) {
        end -= 1;
      }
      const inserted = now.slice(start, now.length - end);
      const rest = before.slice(0, start) + before.slice(before.length - end);
      const kept = inserted === '' ? 0 : core.fitInsertion(field, rest, inserted);
      if (kept < inserted.length) {
        element.value = before.slice(0, start) + inserted.slice(0, kept) +
                        before.slice(before.length - end);
        if (element.type !== 'number') {
          element.setSelectionRange(start + kept, start + kept);
        }
      }
      if (element.value !== before) {
        accepted.set(element, element.value);
        edited(element);
      }
    };
    element.addEventListener('input', (event) => {
      if (!event.isComposing) {
        check();
      }
    });
    element.addEventListener('compositionend', check);
  }

  // A change the field took ends its refusal, and its loaded text: from then on the
  // field's own text is what is saved.
  function edited(element) {
    const field = loadedFieldOf[element.id];
    if (field) {
      loaded[field] = null;
    }
    if (element.getAttribute('aria-invalid')) {
      element.removeAttribute('aria-invalid');
      $(`${element.id}-refusal`).hidden = true;
    }
    showHints();
  }

  function hasFiles(event) {
    return event.dataTransfer && Array.from(event.dataTransfer.types).includes('Files');
  }

  function listen() {
    $('settings').addEventListener('submit', confirm);
    for (const radio of document.getElementsByName('address-mode')) {
      radio.addEventListener('change', () => {
        enableAddressFields();
        showHints();
      });
    }
    for (const [, id] of kAddressFields) {
      limitTyping($(id), core.InputField.Address);
    }
    limitTyping($('push-address'), core.InputField.PushAddress);
    limitTyping($('ring-limit'), core.InputField.RingLimit);
    limitTyping($('cip-key'), core.InputField.CipKey);
    for (const [id, action] of [['open-settings-file', openSettingsFile],
                                ['open-site-table', openSiteTable]]) {
      const open = $(id);
      open.addEventListener('change', () => {
        const file = open.files[0];
        open.value = '';  // the same file can be opened again
        if (file) {
          action(file);
        }
      });
    }
    document.addEventListener('dragover', (event) => {
      if (hasFiles(event)) {
        event.preventDefault();
        event.dataTransfer.dropEffect = 'copy';
        document.body.classList.add('dropping');
      }
    });
    document.addEventListener('dragleave', (event) => {
      if (event.relatedTarget === null) {
        document.body.classList.remove('dropping');
      }
    });
    document.addEventListener('drop', (event) => {
      document.body.classList.remove('dropping');
      if (hasFiles(event)) {
        event.preventDefault();
        const file = event.dataTransfer.files[0];
        if (file) {
          openSettingsFile(file);
        }
      }
    });
  }

  async function start() {
    try {
      core = await TavrelCore({ wasmBinary: fromBase64(kCoreModule) });
    } catch {
      setStatus(kCannotStart);  // the form stays disabled
      return;
    }
    constants = core.constants();
    words = core.words();
    showWords();
    const stored = storedRecord();
    if (stored === null) {
      showFreshForm();
    } else {
      showValues(core.loadSettings(stored, stored.length).values);
    }
    listen();
    $('form-body').disabled = false;
    document.documentElement.dataset.ready = '';
    performance.mark('tavrel-ready');
  }

  start();
})();
