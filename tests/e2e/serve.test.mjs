// End-to-end tests of `vantrel serve` in Debian's chromium, driven by Playwright.
// Each run copies the fixture application (tests/e2e/app) to a scratch folder,
// starts the host on a free loopback port, and drives the shell page as a user
// would: links, forms, back, frames, languages, PDFs. The refusals are checked
// with plain HTTP requests that a browser would not make.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const sourceDir = path.resolve(here, '../..');
const vantrel = process.env.VANTREL_BIN || path.join(sourceDir, 'build', 'vantrel');
const chromiumPath = process.env.CHROMIUM_PATH || '/usr/bin/chromium';

// ---- the host ----

// Starts `vantrel serve` and resolves once it has printed its address.
function startServer(appDir, extra = []) {
  return new Promise((resolve, reject) => {
    const proc = spawn(vantrel, ['serve', '--app', appDir, '--port', '0', ...extra], {
      stdio: ['ignore', 'pipe', 'pipe'],
    });
    let out = '';
    let err = '';
    const timer = setTimeout(() => reject(new Error(`no address printed:\n${out}\n${err}`)), 30000);
    proc.stderr.on('data', (d) => { err += d; });
    proc.stdout.on('data', (d) => {
      out += d;
      const m = out.match(/(http:\/\/[^\s/]+)\/\?k=([0-9a-f]+)/);
      if (m && !proc.started) {
        proc.started = true;
        clearTimeout(timer);
        const base = m[1];
        resolve({
          proc,
          base,
          key: m[2],
          url: `${base}/?k=${m[2]}`,
          port: Number(base.split(':').pop()),
          output: () => out,
          errors: () => err,
        });
      }
    });
    proc.on('exit', (code) => {
      clearTimeout(timer);
      if (!proc.started) reject(new Error(`vantrel serve exited with ${code}:\n${out}\n${err}`));
    });
  });
}

// Stops the host with SIGTERM and resolves with its exit code.
function stopServer(server) {
  return new Promise((resolve) => {
    if (server.proc.exitCode !== null) return resolve(server.proc.exitCode);
    server.proc.once('exit', (code) => resolve(code));
    server.proc.kill('SIGTERM');
  });
}

// A plain HTTP request with the given path (sent as it stands) and headers.
function request(server, rawPath, headers = {}) {
  return new Promise((resolve, reject) => {
    const req = http.request(
      { host: '127.0.0.1', port: server.port, path: rawPath, method: 'GET', headers },
      (res) => {
        let body = '';
        res.on('data', (d) => { body += d; });
        res.on('end', () => resolve({ status: res.statusCode, headers: res.headers, body }));
      },
    );
    req.on('error', reject);
    req.end();
  });
}

function rawExchange(server, text) {
  return new Promise((resolve, reject) => {
    const socket = net.connect(server.port, '127.0.0.1', () => socket.write(text));
    let reply = '';
    socket.on('data', (d) => { reply += d; });
    socket.on('end', () => resolve(reply));
    socket.on('error', reject);
    socket.setTimeout(5000, () => { socket.destroy(); resolve(reply); });
  });
}

// The scratch copy of the fixture application and its engine form ("\tmp\...\app\").
function copyFixture() {
  const root = fs.realpathSync(fs.mkdtempSync(path.join(os.tmpdir(), 'vantrel-e2e-')));
  const app = path.join(root, 'app');
  fs.cpSync(path.join(here, 'app'), app, { recursive: true });
  fs.writeFileSync(path.join(root, 'secret.css'), 'body { color: red }\n');
  fs.symlinkSync(path.join(root, 'secret.css'), path.join(app, 'Select', 'escape.css'));
  return { root, app, engine: app.replace(/\//g, '\\') + '\\' };
}

// ---- the browser ----

function launchBrowser() {
  return chromium.launch({
    executablePath: chromiumPath,
    headless: true,
    args: [
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
    ],
  });
}

// Waits until the element's text equals the expected text.
async function expectText(locator, expected, timeout = 15000) {
  const end = Date.now() + timeout;
  let last;
  while (Date.now() < end) {
    try {
      last = ((await locator.textContent({ timeout: 1000 })) || '').trim();
      if (last === expected) return;
    } catch (e) {
      last = `(${e.message.split('\n')[0]})`;
    }
    await new Promise((r) => setTimeout(r, 100));
  }
  assert.equal(last, expected);
}

// A fresh browser session on the shell page, with the start page shown.
async function openShell(browser, server) {
  const context = await browser.newContext();
  const page = await context.newPage();
  const response = await page.goto(server.url);
  assert.equal(response.status(), 200);
  const area = page.frameLocator('#WebBrowser1');
  return { context, page, area };
}

// ---- the tests ----

describe('vantrel serve', () => {
  let fixture;
  let server;
  let browser;

  before(async () => {
    assert.ok(fs.existsSync(vantrel), `no vantrel binary at ${vantrel}`);
    fixture = copyFixture();
    server = await startServer(fixture.app);
    browser = await launchBrowser();
  });

  after(async () => {
    if (browser) await browser.close();
    if (server) {
      const code = await stopServer(server);
      assert.equal(code, 0, `exit code after SIGTERM; stderr:\n${server.errors()}`);
      assert.match(server.output(), /Vantrel stopped\./);
    }
    if (fixture) fs.rmSync(fixture.root, { recursive: true, force: true });
  });

  test('start page in the shell: header, title, sizes, stylesheet, image, charset', async () => {
    const { context, page, area } = await openShell(browser, server);
    try {
      assert.equal(await page.title(), 'Vantrel');
      assert.ok(!page.url().includes('k='), 'the key leaves the address bar');
      const links = await page.locator('#Panel2 a').allTextContents();
      assert.deepEqual(links, ['Deutsch', 'English', 'Fran\u00e7ais', 'Italiano']);
      assert.equal(await page.locator('#Panel2').textContent(), 'Deutsch | English | Fran\u00e7ais | Italiano');
      assert.equal(await page.locator('#lblTitle').textContent(), ' ');
      assert.equal(await page.locator('#imgLogo').evaluate((img) => img.naturalWidth), 102);
      await expectText(area.locator('#title'), 'Fixture start');
      const screen = await page.evaluate(() => [screen.width, screen.height, window.outerWidth, window.outerHeight]);
      await expectText(area.locator('#screen'), `screen=[${screen[0]}x${screen[1]}] window=[${screen[2]}x${screen[3]}]`);
      await expectText(area.locator('#cafe'), 'Caf\u00e9 cr\u00e8me');
      assert.equal(await area.locator('#title').evaluate((h) => getComputedStyle(h).color), 'rgb(0, 128, 0)');
      assert.equal(await area.locator('#logo').evaluate((img) => img.complete && img.naturalWidth), 1);
    } finally {
      await context.close();
    }
  });

  test('pseudo-URL links with a query string reach the handler as written', async () => {
    const { context, area } = await openShell(browser, server);
    try {
      await expectText(area.locator('#title'), 'Fixture start');
      await area.locator('#pseudo').click();
      await expectText(area.locator('#x'), 'x=[1]');
      await expectText(area.locator('#y'), 'y=[a b]');
      await expectText(area.locator('#url'), 'URL=[http://Select\\Page.qsp?x=1&y=a+b]');
      await expectText(area.locator('#referrer'), `referrer=[${fixture.engine}Select\\Page.qsp]`);
      await area.locator('#home').click();
      await area.locator('#pseudoSlash').click();
      await expectText(area.locator('#x'), 'x=[3]');
      await expectText(area.locator('#url'), 'URL=[http://Select/Page.qsp/?x=3]');
    } finally {
      await context.close();
    }
  });

  test('a relative link reaches the handler as the engine path of the file', async () => {
    const { context, area } = await openShell(browser, server);
    try {
      await expectText(area.locator('#title'), 'Fixture start');
      await area.locator('#relative').click();
      await expectText(area.locator('#x'), 'x=[2]');
      await expectText(area.locator('#url'), `URL=[${fixture.engine}Select\\Page.qsp?x=2]`);
      await expectText(area.locator('#referrer'), `referrer=[${fixture.engine}Select\\Page.qsp]`);
    } finally {
      await context.close();
    }
  });

  test('GET forms send their fields as a Windows-1252 page would', async () => {
    const { context, area } = await openShell(browser, server);
    try {
      await expectText(area.locator('#title'), 'Fixture start');
      await area.locator('#go').click();
      await expectText(area.locator('#title'), 'Form');
      // The engine decodes only its fourteen escapes: %E9 stays as it came.
      await expectText(area.locator('#q'), 'q=[a b&c %E9]');
      await expectText(area.locator('#btn'), 'btn=[Go]');
      await expectText(area.locator('#dropped'), 'dropped=[]');
      await expectText(area.locator('#data'), 'cgiformdata=[q=a+b%26c+%E9&btn=Go]');
    } finally {
      await context.close();
    }
    const second = await openShell(browser, server);
    try {
      await expectText(second.area.locator('#title'), 'Fixture start');
      await second.area.locator('#goRelative').click();
      await expectText(second.area.locator('#q'), 'q=[rel]');
    } finally {
      await second.context.close();
    }
  });

  test('back steps through the navigation history', async () => {
    const { context, area } = await openShell(browser, server);
    try {
      await expectText(area.locator('#title'), 'Fixture start');
      await area.locator('#relative').click();
      await expectText(area.locator('#x'), 'x=[2]');
      await area.locator('#back').click();
      await expectText(area.locator('#title'), 'Fixture start');
      // The back step made the start page the current URL again.
      await area.locator('#pseudo').click();
      await expectText(area.locator('#url'), 'URL=[http://Select\\Page.qsp?x=1&y=a+b]');
    } finally {
      await context.close();
    }
  });

  test('language links set LangID and the title, and re-render the current page', async () => {
    const { context, page, area } = await openShell(browser, server);
    try {
      await expectText(area.locator('#title'), 'Fixture start');
      await area.locator('#relative').click();
      await expectText(area.locator('#lang'), 'LangID=[]');
      await page.locator('#lblDeutsch').click();
      await expectText(page.locator('#lblTitle'), 'Quorvel Auslegung');
      await expectText(area.locator('#lang'), 'LangID=[1]');
      await expectText(area.locator('#x'), 'x=[2]');
      await page.locator('#lblFrench').click();
      await expectText(page.locator('#lblTitle'), 'Quorvel S\u00e9lection');
      await expectText(area.locator('#lang'), 'LangID=[2]');
      await page.locator('#lblItaliano').click();
      await expectText(area.locator('#lang'), 'LangID=[3]');
      await page.locator('#lblEnglish').click();
      await expectText(page.locator('#lblTitle'), 'Quorvel Sizer');
      await expectText(area.locator('#lang'), 'LangID=[4]');
      // A reload of the shell keeps the session's language and title.
      await page.reload();
      await expectText(page.locator('#lblTitle'), 'Quorvel Sizer');
      await expectText(area.locator('#title'), 'Fixture start');
    } finally {
      await context.close();
    }
  });

  test('targets naming a frame show the page in that frame', async () => {
    const { context, area } = await openShell(browser, server);
    try {
      await expectText(area.locator('#title'), 'Fixture start');
      await area.locator('#frames').click();
      await expectText(area.locator('#title'), 'Frames');
      const detail = area.frameLocator('#detail');
      await expectText(detail.locator('#n'), 'n=[0]');
      await area.locator('#toFrame').click();
      await expectText(detail.locator('#n'), 'n=[2]');
      await area.locator('#toFramePseudo').click();
      await expectText(detail.locator('#n'), 'n=[3]');
      await detail.locator('#inFrame').click();
      await expectText(detail.locator('#n'), 'n=[4]');
      await expectText(area.locator('#title'), 'Frames');
    } finally {
      await context.close();
    }
  });

  test('a location tag and a script navigation reach the handler', async () => {
    const { context, area } = await openShell(browser, server);
    try {
      await expectText(area.locator('#title'), 'Fixture start');
      await area.locator('#redirect').click();
      await expectText(area.locator('#x'), 'x=[9]');
      await expectText(area.locator('#url'), 'URL=[http://Select/Page.qsp?x=9]');
      await area.locator('#home').click();
      await area.locator('#scripted').click();
      await expectText(area.locator('#x'), 'x=[5]');
      // Only the resolved address is known for a script's navigation.
      await expectText(area.locator('#url'), 'URL=[http://select/Page.qsp?x=5]');
    } finally {
      await context.close();
    }
  });

  test('PDF links open the document in the browser, beside the application', async () => {
    const { context, area } = await openShell(browser, server);
    try {
      await expectText(area.locator('#title'), 'Fixture start');
      for (const id of ['#pdf', '#pdfRelative']) {
        const seen = context.waitForEvent('response', (r) => r.url().endsWith('/Docs/manual.pdf'));
        await area.locator(id).click();
        const response = await seen;
        assert.equal(response.status(), 200);
        // The viewer may answer a second opening from its cache without headers:
        // ask the host for the same file directly.
        const direct = await context.request.get(response.url());
        assert.equal(direct.status(), 200);
        assert.equal(direct.headers()['content-type'], 'application/pdf');
      }
      await expectText(area.locator('#title'), 'Fixture start');
    } finally {
      await context.close();
    }
  });

  test('no context menu in the shell or the page', async () => {
    const { context, page, area } = await openShell(browser, server);
    try {
      await expectText(area.locator('#title'), 'Fixture start');
      const frame = page.frames().find((f) => f.parentFrame() === page.mainFrame());
      const watch = () => {
        window.__menuPrevented = null;
        document.addEventListener('contextmenu', (e) => { window.__menuPrevented = e.defaultPrevented; });
      };
      await page.evaluate(watch);
      await frame.evaluate(watch);
      await page.locator('#lblTitle').click({ button: 'right', force: true });
      await area.locator('#title').click({ button: 'right' });
      assert.equal(await page.evaluate(() => window.__menuPrevented), true);
      assert.equal(await frame.evaluate(() => window.__menuPrevented), true);
    } finally {
      await context.close();
    }
  });

  test('two browser contexts have separate sessions', async () => {
    const a = await openShell(browser, server);
    const b = await openShell(browser, server);
    try {
      const visit = (shell, who) => shell.area.locator('#title').evaluate((_, w) => {
        location.replace('/navigate?url=' + encodeURIComponent('http://Select\\Page.qsp?session.who=' + w));
      }, who);
      await expectText(a.area.locator('#title'), 'Fixture start');
      await expectText(b.area.locator('#title'), 'Fixture start');
      await visit(a, 'alice');
      await visit(b, 'bob');
      await expectText(a.area.locator('#who'), 'who=[alice]');
      await expectText(b.area.locator('#who'), 'who=[bob]');
      await a.page.locator('#lblDeutsch').click();
      await expectText(a.area.locator('#lang'), 'LangID=[1]');
      await expectText(a.area.locator('#who'), 'who=[alice]');
      await b.area.locator('#home').click();
      await expectText(b.area.locator('#who'), 'who=[bob]');
      await expectText(b.area.locator('#lang'), 'LangID=[]');
      await expectText(b.page.locator('#lblTitle'), '');
    } finally {
      await a.context.close();
      await b.context.close();
    }
  });

  test('refusals: no key, foreign Host, outside the application folder, malformed', async () => {
    const cookie = { Cookie: `vantrel_key_${server.port}=${server.key}` };
    const prefix = fixture.app;
    // No key, in a browser and by hand.
    const context = await browser.newContext();
    try {
      const page = await context.newPage();
      const response = await page.goto(`${server.base}/`);
      assert.equal(response.status(), 403);
    } finally {
      await context.close();
    }
    assert.equal((await request(server, '/')).status, 403);
    assert.equal((await request(server, `${prefix}/Select/vantrel.css`)).status, 403);
    assert.equal((await request(server, '/', { Cookie: `vantrel_key_${server.port}=${'0'.repeat(32)}` })).status, 403);
    assert.equal((await request(server, `/?k=${server.key.slice(0, -1)}x`)).status, 403);
    // A wrong Host header, even with the key.
    assert.equal((await request(server, '/', { ...cookie, Host: `evil.example:${server.port}` })).status, 403);
    assert.equal((await request(server, '/', { ...cookie, Host: `127.0.0.1:${server.port + 1}` })).status, 403);
    assert.equal((await request(server, '/', { ...cookie, Host: `localhost:${server.port}` })).status, 200);
    // The key alone is enough for files in the application folder...
    const css = await request(server, `${prefix}/Select/vantrel.css`, cookie);
    assert.equal(css.status, 200);
    assert.match(css.headers['content-type'], /^text\/css/);
    // ...and for nothing outside it.
    for (const p of [
      `${prefix}/../secret.css`,
      `${prefix}/Select/%2e%2e/%2e%2e/secret.css`,
      `${prefix}/Select/..%5c..%5csecret.css`,
      `${prefix}/Select/escape.css`,
      `${fixture.root}/secret.css`,
      '/etc/passwd',
      `${prefix}/Select/`,
      `${prefix}/Select`,
    ]) {
      const r = await request(server, p, cookie);
      assert.ok(r.status >= 400 && r.status < 500, `${p}: ${r.status}`);
      assert.ok(!r.body.includes('color: red'), p);
    }
    // Template sources are never served as files.
    const source = await request(server, `${prefix}/Select/Page.qsp`, { ...cookie, 'Sec-Fetch-Dest': 'script' });
    assert.equal(source.status, 404);
    // A navigation whose page lies outside the application folder does not run.
    const outside = encodeURIComponent('http://..\\secret.css?.qsp');
    assert.equal((await request(server, `/navigate?url=${outside}`, cookie)).status, 403);
    assert.equal((await request(server, '/navigate', cookie)).status, 400);
    // Malformed requests get a 4xx answer and the host keeps serving.
    assert.match(await rawExchange(server, 'GARBAGE\r\n\r\n'), /^HTTP\/1\.1 4\d\d /);
    assert.match(await rawExchange(server, 'GET / HTTP/1.1\r\n\r\n'), /^HTTP\/1\.1 400 /);
    assert.equal((await request(server, '/', cookie)).status, 200);
  });
});

describe('vantrel serve on the sample application', () => {
  test('the start page of demo/ is shown with its stylesheet', async () => {
    const server = await startServer(path.join(sourceDir, 'demo'));
    const browser = await launchBrowser();
    try {
      const context = await browser.newContext();
      const page = await context.newPage();
      const css = page.waitForResponse((r) => r.url().endsWith('/Select/vantrel.css'));
      await page.goto(server.url);
      const area = page.frameLocator('#WebBrowser1');
      await expectText(area.locator('h1'), 'Quorvel valve selection');
      assert.equal((await css).status(), 200);
      await area.locator('a', { hasText: 'Start page' }).click();
      await expectText(area.locator('h1'), 'Quorvel valve selection');
      await context.close();
    } finally {
      await browser.close();
      assert.equal(await stopServer(server), 0);
    }
  });
});
