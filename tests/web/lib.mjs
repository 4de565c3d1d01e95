// What the web tests share: a static server on 127.0.0.1 over the web build, headless Debian
// chromium driven through its debugging pipe, the browser's canvas and the game's BMP files as
// 5-6-5 pixels, and the native replay tool.
import {spawn, execFileSync} from 'node:child_process';
import {once} from 'node:events';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';

export const WIDTH = 1024;
export const HEIGHT = 768;

// ---- The server: the build's files, on a port of the loopback address chosen by the system.

const TYPES = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
               '.data': 'application/octet-stream'};

export async function startServer(root) {
  const server = http.createServer((request, response) => {
    const wanted = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(root, path.normalize(wanted));
    if (!file.startsWith(root + path.sep)) {
      response.writeHead(404).end();
      return;
    }
    fs.readFile(file, (error, body) => {
      if (error) {
        response.writeHead(404).end();
        return;
      }
      response.writeHead(200, {'Content-Type': TYPES[path.extname(file)] || 'text/plain',
                               'Cache-Control': 'no-store'});
      response.end(body);
    });
  });
  server.listen(0, '127.0.0.1');
  await once(server, 'listening');
  return {url: `http://127.0.0.1:${server.address().port}`, close: () => server.close()};
}

// ---- The browser.

export class Browser {
  static async launch() {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'skarlume-chromium-'));
    const child = spawn(process.env.CHROMIUM || 'chromium', [
      '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
      '--disable-backgrounding-occluded-windows', '--window-size=1280,900',
      // As a desktop browser: a page's sound waits for the player's first key or click.
      '--autoplay-policy=user-gesture-required',
      `--user-data-dir=${profile}`, '--remote-debugging-pipe', 'about:blank'],
      // In a process group of its own, so that closing ends its helper processes too.
      {stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'], detached: true});
    child.stderr.resume();
    const browser = new Browser(child, profile);
    await browser.send('Target.setDiscoverTargets', {discover: false});
    return browser;
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = [];
    let buffered = '';
    child.stdio[4].on('data', (chunk) => {
      buffered += chunk.toString('utf8');
      let end;
      while ((end = buffered.indexOf('\0')) >= 0) {
        this.receive(JSON.parse(buffered.slice(0, end)));
        buffered = buffered.slice(end + 1);
      }
    });
    child.on('exit', () => {
      for (const {reject} of this.pending.values())
        reject(new Error('chromium ended'));
      this.pending.clear();
    });
  }

  receive(message) {
    if (message.id !== undefined) {
      const waiting = this.pending.get(message.id);
      this.pending.delete(message.id);
      if (message.error)
        waiting.reject(new Error(`${waiting.method}: ${message.error.message}`));
      else
        waiting.resolve(message.result);
      return;
    }
    for (const listener of this.listeners)
      listener(message);
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    this.child.stdio[3].write(JSON.stringify({id, method, params, sessionId}) + '\0');
    return new Promise((resolve, reject) => this.pending.set(id, {resolve, reject, method}));
  }

  async newPage() {
    const {targetId} = await this.send('Target.createTarget', {url: 'about:blank'});
    const {sessionId} = await this.send('Target.attachToTarget', {targetId, flatten: true});
    const page = new Page(this, sessionId);
    await page.send('Page.enable');
    await page.send('Runtime.enable');
    await page.send('Emulation.setFocusEmulationEnabled', {enabled: true});
    return page;
  }

  async close() {
    try {
      await Promise.race([this.send('Browser.close'), new Promise((r) => setTimeout(r, 3000))]);
    } catch (error) {
      // it ended already
    }
    const ended = this.child.exitCode === null && this.child.signalCode === null
                      ? once(this.child, 'exit') : Promise.resolve();
    try {
      process.kill(-this.child.pid, 'SIGKILL');
    } catch (error) {
      // the group has ended
    }
    await ended;
    await sleep(100);
    fs.rmSync(this.profile, {recursive: true, force: true, maxRetries: 10, retryDelay: 100});
  }
}

// The virtual key codes the page's keys carry, as a person's keyboard sends them.
const KEYS = {
  Tab: {key: 'Tab', code: 'Tab', keyCode: 9},
  KeyA: {key: 'a', code: 'KeyA', keyCode: 65},
  Enter: {key: 'Enter', code: 'Enter', keyCode: 13},
  Space: {key: ' ', code: 'Space', keyCode: 32},
  Escape: {key: 'Escape', code: 'Escape', keyCode: 27},
  ArrowLeft: {key: 'ArrowLeft', code: 'ArrowLeft', keyCode: 37},
  ArrowUp: {key: 'ArrowUp', code: 'ArrowUp', keyCode: 38},
  ArrowRight: {key: 'ArrowRight', code: 'ArrowRight', keyCode: 39},
  ArrowDown: {key: 'ArrowDown', code: 'ArrowDown', keyCode: 40},
  KeyM: {key: 'm', code: 'KeyM', keyCode: 77},
  AltLeft: {key: 'Alt', code: 'AltLeft', keyCode: 18},
  F11: {key: 'F11', code: 'F11', keyCode: 122},
};

export class Page {
  constructor(browser, sessionId) {
    this.browser = browser;
    this.sessionId = sessionId;
    this.console = [];
    browser.listeners.push((message) => {
      if (message.sessionId !== sessionId)
        return;
      if (message.method === 'Runtime.consoleAPICalled')
        this.console.push(message.params.args.map((a) => a.value).join(' '));
      if (message.method === 'Runtime.exceptionThrown')
        this.console.push('exception: ' + message.params.exceptionDetails.text + ' ' +
                          (message.params.exceptionDetails.exception?.description || ''));
    });
  }

  send(method, params = {}) {
    return this.browser.send(method, params, this.sessionId);
  }

  // A fresh load, also where only the fragment differs from the page shown.
  async goto(url) {
    await this.send('Page.navigate', {url: 'about:blank'});
    await this.send('Page.navigate', {url});
    await this.waitFor('document.readyState === "complete"', 30000);
  }

  async evaluate(expression) {
    const {result, exceptionDetails} = await this.send('Runtime.evaluate', {
      expression, awaitPromise: true, returnByValue: true});
    if (exceptionDetails)
      throw new Error(`${expression.slice(0, 80)}: ${exceptionDetails.exception?.description ||
                                                     exceptionDetails.text}`);
    return result.value;
  }

  // Polls until the expression's value is truthy; returns it.
  async waitFor(expression, timeout = 20000, what = expression) {
    const until = Date.now() + timeout;
    for (;;) {
      const value = await this.evaluate(expression).catch(() => undefined);
      if (value)
        return value;
      if (Date.now() > until)
        throw new Error(`timed out waiting for ${what}\n${this.console.slice(-20).join('\n')}`);
      await sleep(50);
    }
  }

  // modifiers: 2 for Ctrl, as the protocol counts them.
  // Waits until `shows(image)` holds for the game's screen; returns that screen.
  async waitForScreen(what, shows, timeout = 20000) {
    const until = Date.now() + timeout;
    for (;;) {
      const screen = await this.screen().catch(() => null);
      if (screen && shows(screen.image))
        return screen;
      if (Date.now() > until)
        throw new Error(`timed out waiting for ${what}\n${this.console.slice(-10).join('\n')}`);
      await sleep(50);
    }
  }

  // Waits for the game to show `count` more frames: counting frames rather than time keeps a
  // test's steps the same on a slow machine.
  async framesLater(count) {
    const now = await this.evaluate('Module.flips');
    await this.waitFor(`Module.flips >= ${now + count}`, 20000, `${count} more frames`);
  }

  // Holds a key down as a person does, the browser repeating its key-down every `apart`
  // frames; releases it after `repeats` repeats and `after` more frames, unless `release` is
  // false.
  async hold(name, {repeats, apart, after = apart, release = true}) {
    await this.key(name, 'down');
    for (let i = 0; i < repeats; ++i) {
      await this.framesLater(apart);
      await this.key(name, 'down', true);
    }
    await this.framesLater(after);
    if (release)
      await this.key(name, 'up');
  }

  async key(name, type, autoRepeat = false, modifiers = 0) {
    const {key, code, keyCode} = KEYS[name];
    await this.send('Input.dispatchKeyEvent', {
      type: type === 'down' ? 'rawKeyDown' : 'keyUp', key, code, autoRepeat, modifiers,
      windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode});
  }

  async press(name, modifiers = 0) {
    await this.key(name, 'down', false, modifiers);
    await this.key(name, 'up', false, modifiers);
  }

  // The game's screen as 5-6-5 values, with the number of frames shown when it was read: both
  // come from one turn of the page, between two frames of the game.
  async screen() {
    const {flips, pixels} = await this.evaluate(`(() => {
      const data = document.querySelector('canvas').getContext('2d')
                       .getImageData(0, 0, ${WIDTH}, ${HEIGHT}).data;
      const out = new Uint16Array(${WIDTH * HEIGHT});
      for (let i = 0; i < out.length; ++i)
        out[i] = (data[4 * i] >> 3) << 11 | (data[4 * i + 1] >> 2) << 5 | data[4 * i + 2] >> 3;
      let text = '';
      const bytes = new Uint8Array(out.buffer);
      for (let i = 0; i < bytes.length; i += 0x8000)
        text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
      return {flips: Module.flips || 0, pixels: btoa(text)};
    })()`);
    const bytes = Buffer.from(pixels, 'base64');
    return {flips, image: {width: WIDTH, height: HEIGHT,
                           pixels: new Uint16Array(bytes.buffer, bytes.byteOffset, WIDTH * HEIGHT)}};
  }

  async readFile(file) {
    const text = await this.evaluate(`(() => {
      const bytes = FS.readFile(${JSON.stringify(file)});
      let text = '';
      for (let i = 0; i < bytes.length; i += 0x8000)
        text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
      return btoa(text);
    })()`);
    return Buffer.from(text, 'base64');
  }
}

// Written at once: a test that is stopped still shows how far it came.
export function say(line) {
  fs.writeSync(1, line + '\n');
}

export function sleep(ms) {
  return new Promise((resolve) => setTimeout(resolve, ms));
}

// ---- Pictures as 5-6-5 values: the BMPs the game draws (16-bit) and SDL writes (24-bit).

export function readBmp565(bytes) {
  if (bytes.toString('latin1', 0, 2) !== 'BM')
    throw new Error('not a BMP file');
  const offset = bytes.readUInt32LE(10);
  const width = bytes.readInt32LE(18);
  const rawHeight = bytes.readInt32LE(22);
  const bits = bytes.readUInt16LE(28);
  const height = Math.abs(rawHeight);
  const rowBytes = Math.ceil((width * bits) / 32) * 4;
  const pixels = new Uint16Array(width * height);
  for (let y = 0; y < height; ++y) {
    const row = offset + (rawHeight < 0 ? y : height - 1 - y) * rowBytes;
    for (let x = 0; x < width; ++x) {
      let value;
      if (bits === 16) {
        value = bytes.readUInt16LE(row + 2 * x);
      } else if (bits === 24 || bits === 32) {
        const at = row + x * (bits / 8);
        value = (bytes[at + 2] >> 3) << 11 | (bytes[at + 1] >> 2) << 5 | bytes[at] >> 3;
      } else {
        throw new Error(`${bits}-bit BMP files are not read here`);
      }
      pixels[y * width + x] = value;
    }
  }
  return {width, height, pixels};
}

export function pixel(image, x, y) {
  return image.pixels[y * image.width + x];
}

// How many pixels of `picture`, placed at (x, y) in `image`, differ from it; white, the
// transparent colour, is skipped, and so are pixels inside any rectangle of `except`.
export function mismatches(image, picture, x, y, except = []) {
  let wrong = 0;
  for (let py = 0; py < picture.height; ++py)
    for (let px = 0; px < picture.width; ++px) {
      const value = pixel(picture, px, py);
      const ix = x + px, iy = y + py;
      if (value === 0xffff || ix < 0 || iy < 0 || ix >= image.width || iy >= image.height)
        continue;
      if (except.some((r) => ix >= r.x && iy >= r.y && ix < r.x + r.w && iy < r.y + r.h))
        continue;
      if (pixel(image, ix, iy) !== value)
        ++wrong;
    }
  return wrong;
}

// The positions in the rows [top, top + height) and columns [left, right) where `picture`
// shows whole and exactly.
export function find(image, picture, left, right, top, bottom) {
  const found = [];
  for (let y = top; y + picture.height <= bottom; ++y)
    for (let x = left; x + picture.width <= right; ++x)
      if (mismatches(image, picture, x, y) === 0)
        found.push({x, y});
  return found;
}

// ---- The native game, for comparison.

export class Native {
  constructor(buildDir, gameDir) {
    this.replayTool = path.join(buildDir, 'replay');
    this.gameDir = gameDir;
  }

  // The line the native replay tool prints, and the shots it took as 5-6-5 pictures.
  replay(args) {
    const env = {...process.env, SDL_VIDEODRIVER: 'dummy', SDL_AUDIODRIVER: 'dummy'};
    try {
      return execFileSync(this.replayTool, args, {cwd: this.gameDir, env, encoding: 'utf8'})
          .trim();
    } catch (error) {
      if (error.status === 1)  // not won: still a result
        return error.stdout.trim();
      throw error;
    }
  }

  picture(file) {
    return readBmp565(fs.readFileSync(path.join(this.gameDir, 'images', file)));
  }
}

// ---- A test's frame: its checks, and the browser and server started and always stopped.

export async function run(name, body) {
  const [buildDir, nativeDir, gameDir] = process.argv.slice(2);
  if (!buildDir || !nativeDir || !gameDir) {
    console.error(`usage: node ${path.basename(process.argv[1])} WEB_BUILD NATIVE_BUILD GAME_DIR`);
    process.exit(2);
  }
  const server = await startServer(path.resolve(buildDir));
  const browser = await Browser.launch();
  let failures = 0;
  const check = (ok, what) => {
    say(`${ok ? 'ok' : 'FAILED'}: ${what}`);
    if (!ok)
      ++failures;
    return ok;
  };
  const started = Date.now();
  try {
    await body({server, browser, check, native: new Native(nativeDir, gameDir), gameDir});
  } catch (error) {
    say(`FAILED: ${name}: ${error.stack || error}`);
    ++failures;
  } finally {
    await browser.close();
    server.close();
  }
  say(`${name}: ${failures === 0 ? 'passed' : failures + ' failed'} in ` +
      `${((Date.now() - started) / 1000).toFixed(1)} s`);
  process.exit(failures === 0 ? 0 : 1);
}
