// The station's web page in a real browser: Debian's chromium, headless, driven by
// playwright-core. The station (build/ivrelane) runs on a folder of its own beside rigsim (a
// TM-D710 on a pty) and a relay server stand-in on 127.0.0.1; the page must show the station's
// state, light the TX lamp on TRANSMIT and put it out on RECEIVE, show a new log line, carry a
// click to the radio and save a setting into Ivrelane.ini. Screenshots at desktop and phone
// widths go to the build folder's web-shots/.
// Usage: node page-test.mjs BUILD_DIR
import { chromium } from 'playwright-core';
import { spawn, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';

const buildDir = path.resolve(process.argv[2] || 'build');
const shots = path.join(buildDir, 'web-shots');
const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'ivrelane-web-'));
const link = path.join(folder, 'ttyV0');
const password = 'page test 42';
const children = [];
const timeoutMs = 15000;

function fail(why) {
  throw new Error(why);
}

async function waitFor(what, check, ms = timeoutMs) {
  const end = Date.now() + ms;
  for (;;) {
    const value = await check();
    if (value) return value;
    if (Date.now() > end) fail(`timed out waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

const read = (file) => (fs.existsSync(file) ? fs.readFileSync(file, 'latin1') : '');

function browserPath() {
  for (const candidate of ['/usr/lib/chromium/chromium', '/usr/bin/chromium'])
    if (fs.existsSync(candidate)) return candidate;
  fail('Debian\'s chromium is not installed (scripts/install-deps installs it)');
}

// The relay server stand-in: takes the station's connection and sends what it is told.
function relayServer() {
  const relay = { socket: null, received: '' };
  relay.server = net.createServer((socket) => {
    relay.socket = socket;
    socket.on('data', (data) => { relay.received += data.toString('latin1'); });
  });
  return new Promise((resolve) => relay.server.listen(0, '127.0.0.1', () => resolve(relay)));
}

async function main() {
  fs.mkdirSync(shots, { recursive: true });
  const rigLog = path.join(folder, 'rigsim.log');
  children.push(spawn(path.join(buildDir, 'rigsim'),
    ['--model', 'TMD710', '--link', link, '--log', rigLog], { stdio: 'ignore' }));
  await waitFor('rigsim', () => fs.existsSync(link));
  const relay = await relayServer();
  const ini = path.join(folder, 'Ivrelane.ini');
  fs.writeFileSync(ini, ['[IvrelaneTMD7x0]', 'LANGUAGE=E', 'MODEL=TMD710', `COM=${link}`,
    'CONNECT=1', 'WARNING=Y', 'IPSERVER=127.0.0.1', `PORT=${relay.server.address().port}`,
    'CHANNEL=BOTH', 'WEB=127.0.0.1:0', ''].join('\r\n'));
  const set = spawnSync(path.join(buildDir, 'ivrelane'), ['--web-password', '--folder', folder],
    { input: `${password}\n` });
  if (set.status !== 0) fail(`--web-password: ${set.stderr}`);

  const station = spawn(path.join(buildDir, 'ivrelane'), ['--folder', folder],
    { stdio: 'ignore', env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' } });
  children.push(station);
  const logFile = path.join(folder, 'Ivrelane.log');
  const port = await waitFor('the page\'s address in the log',
    () => (read(logFile).match(/ Web page on 127\.0\.0\.1:(\d+)/) || [])[1]);
  await waitFor('the radio', () => read(logFile).includes('Radio ready: '));
  await waitFor('the server link', () => relay.socket);
  const url = `http://127.0.0.1:${port}/`;

  const browser = await chromium.launch({ executablePath: browserPath(), args: ['--no-sandbox'] });
  try {
    const page = await browser.newPage({ viewport: { width: 1280, height: 900 } });
    // Every answer the page gets is a good one, but for the wrong password tried on purpose.
    const consoleErrors = [];
    page.on('response', (r) => {
      if (r.status() >= 400 && !(r.url().endsWith('/login') && [403, 429].includes(r.status())))
        consoleErrors.push(`${r.status()} ${r.url()}`);
    });
    page.on('pageerror', (e) => consoleErrors.push(e.message));
    await page.goto(url);
    await page.waitForFunction(() => document.getElementById('model').textContent === 'TMD710');
    await page.waitForFunction(() => document.getElementById('answers').textContent === 'yes');
    await page.waitForFunction(() => document.getElementById('server-connected').textContent === 'yes');
    if (await page.isVisible('#buttons')) fail('controls shown before the login');

    // The TX lamp follows the server's TRANSMIT and RECEIVE.
    const lampOn = () => page.$eval('#tx-lamp', (e) => e.classList.contains('on'));
    if (await lampOn()) fail('TX lamp lit at start');
    relay.socket.write('TRANSMIT_R\r\n');
    await waitFor('the TX lamp lit', lampOn);
    await page.screenshot({ path: path.join(shots, 'web-transmitting-desktop.png'), fullPage: true });
    relay.socket.write('RECEIVE_R\r\n');
    await waitFor('the TX lamp out', async () => !(await lampOn()));

    // The operator logs in; a click on band B reaches the radio.
    await page.fill('#login input[name=password]', 'wrong');
    await page.click('#login button');
    await page.waitForFunction(() => document.getElementById('login-error').textContent !== '');
    // Tried again until the pause after a wrong password is over.
    await waitFor('the login', async () => {
      await page.fill('#login input[name=password]', password);
      const [answer] = await Promise.all([
        page.waitForResponse((r) => r.url().endsWith('/login')),
        page.click('#login button'),
      ]);
      return answer.status() === 200;
    });
    await page.waitForSelector('#buttons', { state: 'visible' });
    await page.waitForFunction(() => !document.querySelector('button[data-action=band][data-band=B]').disabled);
    await page.click('button[data-action=band][data-band=B]');
    await waitFor('BC 1,1 at the radio', () => read(rigLog).includes('< BC 1,1'));
    await page.waitForFunction(() => document.getElementById('band').textContent === 'B');

    // INIT from the page: its log line shows up in the page's log.
    const linesBefore = await page.$$eval('#log li', (items) => items.length);
    await page.click('button[data-action=init]');
    await page.waitForFunction((n) => {
      const items = [...document.querySelectorAll('#log li')];
      return items.length > n && items.slice(n).some((li) => li.textContent.includes('Radio ready: '));
    }, linesBefore);

    // A setting saved from the form lands in Ivrelane.ini.
    await page.waitForSelector('#setting-TXTIMEOUT');
    await page.fill('#setting-TXTIMEOUT', '42');
    await page.click('#settings-form button[type=submit]');
    await page.waitForFunction(() => document.getElementById('settings-result').textContent !== '');
    const result = await page.textContent('#settings-result');
    if (result !== 'Settings saved') fail(`settings: ${result}`);
    await waitFor('TXTIMEOUT=42 in Ivrelane.ini', () => read(ini).includes('TXTIMEOUT=42\r\n'));

    await page.screenshot({ path: path.join(shots, 'web-desktop.png'), fullPage: true });
    await page.setViewportSize({ width: 390, height: 844 });
    await page.screenshot({ path: path.join(shots, 'web-phone.png'), fullPage: false });
    await page.screenshot({ path: path.join(shots, 'web-phone-full.png'), fullPage: true });
    const wide = await page.evaluate(() => document.documentElement.scrollWidth);
    if (wide > 390) fail(`the page is ${wide} px wide on a 390 px phone`);
    if (consoleErrors.length) fail(`console errors: ${consoleErrors.join('; ')}`);
  } finally {
    await browser.close();
  }
  console.log(`PASS: the page in chromium (screenshots in ${shots})`);
}

function cleanUp() {
  for (const child of children.reverse()) {
    if (child.exitCode === null) child.kill('SIGTERM');
  }
}

main().then(() => {
  cleanUp();
  setTimeout(() => { fs.rmSync(folder, { recursive: true, force: true }); process.exit(0); }, 1500);
}, (error) => {
  console.error(`FAIL: ${error.message}\nfolder kept: ${folder}`);
  cleanUp();
  setTimeout(() => process.exit(1), 1500);
});
