// The page's form: it shows the settings values the record gives (the last confirmed
// copy, a loaded file, or the fresh form), limits typing as the dialog's controls do, and
// on 確定 turns the form into the 1036 bytes of device_config.dat, offered as a download
// and kept in the browser's local storage as the page's stored copy. Every rule and every
// byte comes from the record compiled to WebAssembly (web/Bindings.cpp, TavrelCore); this
// script only moves values between it and the controls. Nothing from a file is ever put
// into the page as HTML.
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

  let core = null;
  let constants = null;

  // Texts as loaded (from a file or the stored copy), kept exactly until the user edits
  // their field: a text field holds line breaks as LF only, and a one-line field drops
  // them, so a lone CR or LF would otherwise not be written back as it was.
  const loaded = { pushAddress: '', cipKey: '' };
  const loadedFieldOf = { 'push-address': 'pushAddress', 'cip-key': 'cipKey' };

  // What each limited field held after its last accepted change.
  const accepted = new Map();

  function showWords() {
    for (const element of document.querySelectorAll('[data-word]')) {
      element.textContent = kWords[element.dataset.word];
    }
    for (const element of document.querySelectorAll('[data-word-label]')) {
      element.setAttribute('aria-label', kWords[element.dataset.wordLabel]);
    }
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
  }

  // The form's values, or the fields that refuse their text.
  function readValues() {
    const values = {};
    const refusals = [];
    values.automaticAddress = $('automatic-address').checked;
    for (const [key, id] of kAddressFields) {
      const address = core.parseAddress($(id).value);
      if (address === null) {
        refusals.push([id, kWords.notAnAddress]);
      } else {
        values[key] = address;
      }
    }
    values.pushAddress = loaded.pushAddress ?? core.withCrLfLineBreaks($('push-address').value);
    values.lineGuardMode = $('line-guard').selectedIndex;
    const rings = core.parseRingLimit($('ring-limit').value);
    if (rings === null) {
      refusals.push(['ring-limit', kWords.notARingCount]);
    } else {
      values.ringLimit = rings;
    }
    values.cipKey = loaded.cipKey ?? $('cip-key').value;
    return { values, refusals };
  }

  function showRefusals(refusals) {
    for (const [id, text] of refusals) {
      const refusal = $(`${id}-refusal`);
      refusal.textContent = text;
      refusal.hidden = false;
      $(id).setAttribute('aria-invalid', 'true');
    }
    $(refusals[0][0]).focus();
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
    const { values, refusals } = readValues();
    if (refusals.length > 0) {
      showRefusals(refusals);
      return;
    }
    const bytes = core.saveValues(values);
    download(bytes, constants.settingsFileName);
    remember(bytes);
    setStatus(kWords.fileCreated);
  }

  // A settings file, read only as far as matters: the record and one byte more. The form
  // is busy until it shows what the file holds.
  async function openSettingsFile(file) {
    clearRefusals();
    setStatus('');
    $('settings').setAttribute('aria-busy', 'true');
    try {
      const bytes = new Uint8Array(
        await file.slice(0, constants.settingsReadLimit).arrayBuffer());
      showValues(core.loadValues(bytes));
    } catch {
      $('file-refusal').textContent = kWords.fileUnreadable;
      $('file-refusal').hidden = false;
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
  }

  function hasFiles(event) {
    return event.dataTransfer && Array.from(event.dataTransfer.types).includes('Files');
  }

  function listen() {
    $('settings').addEventListener('submit', confirm);
    for (const radio of document.getElementsByName('address-mode')) {
      radio.addEventListener('change', enableAddressFields);
    }
    for (const [, id] of kAddressFields) {
      limitTyping($(id), core.InputField.Address);
    }
    limitTyping($('push-address'), core.InputField.PushAddress);
    limitTyping($('ring-limit'), core.InputField.RingLimit);
    limitTyping($('cip-key'), core.InputField.CipKey);
    const open = $('open-settings-file');
    open.addEventListener('change', () => {
      const file = open.files[0];
      open.value = '';  // the same file can be opened again
      if (file) {
        openSettingsFile(file);
      }
    });
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
    showWords();
    try {
      core = await TavrelCore({ wasmBinary: fromBase64(kCoreModule) });
    } catch {
      setStatus(kWords.cannotStart);  // the form stays disabled
      return;
    }
    constants = core.constants();
    const stored = storedRecord();
    if (stored === null) {
      showFreshForm();
    } else {
      showValues(core.loadValues(stored));
    }
    listen();
    $('form-body').disabled = false;
    document.documentElement.dataset.ready = '';
    performance.mark('tavrel-ready');
  }

  start();
})();
