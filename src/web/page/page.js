'use strict';
const config = JSON.parse(document.getElementById('config').textContent);
const T = config.texts;
const $ = (id) => document.getElementById(id);

for (const el of document.querySelectorAll('[data-text]')) el.textContent = T[el.dataset.text] || '';
document.title = T.title;

const counterNames = ['keyings', 'transmitSeconds', 'transmitTimeouts', 'radioFaults',
  'portLosses', 'serverReconnections', 'requestsDropped'];
const powerNames = ['H', 'M', 'L'];

function yesNo(el, value) {
  el.textContent = value === null || value === undefined ? T.unknown : value ? T.yes : T.no;
  el.className = value === null || value === undefined ? '' : value ? 'good' : 'bad';
}

function localTime(iso) {
  return iso ? new Date(iso).toLocaleTimeString() : '';
}

function showState(s) {
  $('model').textContent = s.model || T.unknown;
  $('port').textContent = s.port || T.unknown;
  yesNo($('answers'), s.answers);
  $('keyed').textContent = s.keyed ? `${T.yes}, ${T.since} ${localTime(s.keyedSince)}` : T.no;
  $('keyed').className = s.keyed ? 'bad' : '';
  $('tx-lamp').classList.toggle('on', !!s.keyed);
  $('band').textContent = s.band || T.unknown;
  $('mode').textContent = s.mode || T.unknown;
  $('frequency').textContent = s.frequency || T.unknown;
  const panel = s.panel || { bands: [] };
  const band = s.band === 'B' ? 1 : 0;
  const shown = panel.bands[band];
  $('power').textContent = shown && panel.powerSteps ? powerNames[shown.power] || T.unknown : T.unknown;
  $('server-address').textContent = s.server ? s.server.address : '';
  yesNo($('server-connected'), s.server ? s.server.connected : null);
  const list = $('counter-list');
  list.replaceChildren();
  for (const name of counterNames) {
    const dt = document.createElement('dt');
    dt.textContent = T[name];
    const dd = document.createElement('dd');
    dd.id = 'counter-' + name;
    dd.textContent = s.counters ? s.counters[name] : '';
    list.append(dt, dd);
  }
  showPanel(panel);
}

function showPanel(panel) {
  for (const button of document.querySelectorAll('#buttons button[data-action]')) {
    const action = button.dataset.action;
    const band = button.dataset.band === 'B' ? 1 : 0;
    const b = panel.bands[band];
    let usable = panel.panelEnabled !== false;
    if (action === 'transmit') usable = usable && panel.transmitAvailable !== false;
    if (action === 'receive') usable = true;
    if (action === 'init') usable = !!panel.initialises;
    if (['band', 'vfo', 'mem', 'power'].includes(action)) usable = usable && !!b;
    if (['band', 'vfo'].includes(action)) usable = usable && panel.vfoMemoryModes && b.selectable;
    if (action === 'mem') usable = usable && panel.memories && b.selectable && b.memoryAvailable;
    if (action === 'power') {
      usable = usable && b.powerAvailable && powerNames.indexOf(button.dataset.power) < panel.powerSteps;
      button.classList.toggle('active', !!b && powerNames[b.power] === button.dataset.power);
    }
    if (action === 'band') button.classList.toggle('active', panel.transmitBand === band);
    if (action === 'vfo') button.classList.toggle('active', !!b && b.mode === 'VFO');
    if (action === 'mem') button.classList.toggle('active', !!b && b.mode === 'MEM');
    button.disabled = !usable;
  }
  for (const row of document.querySelectorAll('.band-row'))
    row.hidden = !panel.bands[row.dataset.band === 'B' ? 1 : 0] || !panel.vfoMemoryModes;
}

function showMemories(m) {
  const select = $('memory');
  select.replaceChildren();
  (m.entries || []).forEach((entry, i) => {
    const option = document.createElement('option');
    option.value = entry.slice(0, 3);
    option.textContent = entry;
    option.selected = i === m.current;
    select.append(option);
  });
}

function addLogLines(lines) {
  const log = $('log');
  const atEnd = log.scrollTop + log.clientHeight >= log.scrollHeight - 4;
  for (const line of lines) {
    const li = document.createElement('li');
    li.textContent = line;
    log.append(li);
  }
  while (log.children.length > 500) log.firstElementChild.remove();
  if (atEnd) log.scrollTop = log.scrollHeight;
}

function connectEvents() {
  const source = new EventSource('events');
  source.addEventListener('open', () => { $('offline').hidden = true; });
  source.addEventListener('error', () => { $('offline').hidden = false; });
  source.addEventListener('state', (e) => showState(JSON.parse(e.data)));
  source.addEventListener('memories', (e) => showMemories(JSON.parse(e.data)));
  source.addEventListener('log', (e) => addLogLines(JSON.parse(e.data).lines));
  // A page reconnecting gets the last lines again: start the list afresh.
  source.addEventListener('open', () => { $('log').replaceChildren(); });
}

async function post(path, body, type) {
  return fetch(path, {
    method: 'POST', body, credentials: 'same-origin',
    headers: { 'Content-Type': type || 'application/x-www-form-urlencoded' },
  });
}

async function control(fields) {
  const response = await post('control', new URLSearchParams(fields));
  $('control-error').textContent = response.ok ? '' : `${T.refused}: ${await response.text()}`;
  if (response.status === 401) location.reload();
}

function setUpControls() {
  if (!config.controls) {
    $('no-password').hidden = false;
    return;
  }
  if (!config.loggedIn) {
    $('login').hidden = false;
    $('login').addEventListener('submit', async (e) => {
      e.preventDefault();
      const response = await post('login', new URLSearchParams(new FormData(e.target)));
      if (response.ok) location.reload();
      else $('login-error').textContent = response.status === 429 ? T.wait : T.wrongPassword;
    });
    return;
  }
  $('buttons').hidden = false;
  for (const button of document.querySelectorAll('#buttons button[data-action]')) {
    button.addEventListener('click', () => {
      const fields = { action: button.dataset.action };
      if (button.dataset.band) fields.band = button.dataset.band;
      if (button.dataset.power) fields.power = button.dataset.power;
      if (button.dataset.action === 'mem' && $('memory').value) fields.channel = $('memory').value;
      control(fields);
    });
  }
  $('logout').addEventListener('click', async () => { await post('logout', ''); location.reload(); });
  setUpSettings();
}

const settingFields = [
  ['model', 'model', 'select'], ['serialPort', 'COM', 'select'], ['hamlibModel', 'HAMLIBMODEL', 'text'],
  ['hamlibPort', 'HAMLIBPORT', 'text'], ['hamlibSpeed', 'HAMLIBSPEED', 'text'],
  ['lines', 'LINES', 'select'], ['linesDevice', 'LINESDEVICE', 'text'], ['linesMap', 'LINESMAP', 'text'],
  ['serverAddress', 'IPSERVER', 'text'], ['serverPort', 'PORT', 'text'],
  ['connectAtStart', 'CONNECT', 'checkbox'], ['reconnect', 'RECONNECT', 'checkbox'],
  ['txTimeout', 'TXTIMEOUT', 'text'], ['language', 'LANGUAGE', 'select'],
];

async function setUpSettings() {
  const response = await fetch('settings.json', { credentials: 'same-origin' });
  if (!response.ok) return;
  const data = await response.json();
  const form = $('settings-form');
  for (const [text, key, kind] of settingFields) {
    if (!(key in data.values)) continue;
    const label = document.createElement('label');
    label.textContent = T[text];
    label.htmlFor = 'setting-' + key;
    let input;
    if (kind === 'select') {
      input = document.createElement('select');
      for (const choice of data.choices[key] || []) {
        const option = document.createElement('option');
        option.value = option.textContent = choice;
        input.append(option);
      }
      input.value = data.values[key];
    } else {
      input = document.createElement('input');
      input.type = kind;
      if (kind === 'checkbox') input.checked = !!data.values[key];
      else input.value = data.values[key];
    }
    input.id = 'setting-' + key;
    input.name = key;
    form.append(label, input);
  }
  const save = document.createElement('button');
  save.type = 'submit';
  save.textContent = T.save;
  form.append(save);
  form.addEventListener('submit', async (e) => {
    e.preventDefault();
    const values = {};
    for (const input of form.querySelectorAll('[name]'))
      values[input.name] = input.type === 'checkbox' ? input.checked : input.value;
    const result = await post('settings', JSON.stringify(values), 'application/json');
    $('settings-result').textContent = result.ok ? T.saved : `${T.refused}: ${await result.text()}`;
    $('settings-result').className = result.ok ? 'good' : 'error';
  });
  $('settings').hidden = false;
}

setUpControls();
connectEvents();
