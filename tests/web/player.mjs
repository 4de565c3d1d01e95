// What a player has natively works on the page too: the sounds, the same bytes as the native
// ones, start at the first key, as a browser allows; M silences them and is still chosen after
// a reload, the settings kept in the browser's storage; F11 and Alt+Return show the canvas
// alone, fullscreen, in its proportions; a gamepad the browser reports plays the menus; the
// tab is named by the game's caption.
import fs from 'node:fs';
import path from 'node:path';

import {mismatches, run, sleep} from './lib.mjs';

const SETTINGS = '/home/player/config/skarlume/settings.ini';

// The loudest sample the game has handed the browser's audio since the last call.
const LOUDEST_SINCE = `(() => {
  if (!SDL.fillWebAudioBufferFromHeap.watched) {
    const fill = SDL.fillWebAudioBufferFromHeap;
    SDL.fillWebAudioBufferFromHeap = function(pointer, samples, buffer) {
      fill.call(SDL, pointer, samples, buffer);
      for (const sample of buffer.getChannelData(0))
        window.loudest = Math.max(window.loudest || 0, Math.abs(sample));
    };
    SDL.fillWebAudioBufferFromHeap.watched = true;
  }
  const loudest = window.loudest || 0;
  window.loudest = 0;
  return loudest;
})()`;

run('Sound, fullscreen, gamepads and settings in the browser',
    async ({server, browser, check, native, gameDir}) => {
  const title = native.picture('StartMenu.bmp');
  const outline = native.picture('StartMenuOutline.bmp');
  const instructions = native.picture('Instructions.bmp');
  const shipSelect = native.picture('ShipSelect.bmp');
  const bar = native.picture('ShipSelectBar.bmp');
  const area = (x, y, picture) => ({x, y, w: picture.width, h: picture.height});
  const onTitle = (image) => mismatches(image, title, 0, 0, [area(345, 304, outline)]) === 0;
  const firstChoice = (image) => onTitle(image) && mismatches(image, outline, 345, 304) === 0;
  const page = await browser.newPage();
  const url = `${server.url}/site/index.html`;

  await page.goto(url);
  await page.waitForScreen('the title', firstChoice);
  check(await page.evaluate('document.title') === 'Skarlume',
        `the tab is named by the game's caption: "${await page.evaluate('document.title')}"`);

  // ---- The sounds are made on the page, as the native tool makes them.
  const made = [];
  for (const file of fs.readdirSync(path.join(gameDir, 'sounds')).sort()) {
    const web = await page.readFile(`/sounds/${file}`).catch(() => null);
    if (!web || !web.equals(fs.readFileSync(path.join(gameDir, 'sounds', file))))
      made.push(file);
  }
  check(made.length === 0, `every sound made on the page has the native file's bytes` +
                               (made.length ? `; not ${made.join(', ')}` : ''));

  // ---- Sound waits for the first key, as a browser holds a page's audio until then; then a
  // menu's move is heard. (Headless chromium lets the audio run at once, so it is held here
  // as a desktop browser holds it.)
  const opened = await page.evaluate('SDL.audio ? SDL.audioContext.state : "not open"');
  await page.evaluate('SDL.audioContext.suspend()');
  await page.waitFor('SDL.audioContext.state === "suspended"', 10000, 'the audio to be held');
  await page.evaluate(LOUDEST_SINCE);
  await page.press('ArrowDown');
  await page.waitFor('SDL.audioContext.state === "running"', 10000, 'the audio to start');
  check(opened !== 'not open', `the game's audio is open (${opened}) and runs after a key`);
  await page.waitFor('(window.loudest || 0) > 0.01', 10000, 'a menu\'s move to be heard');
  check(true, `a menu's move is heard (peak ${await page.evaluate(LOUDEST_SINCE)})`);
  await page.press('ArrowUp');
  await page.waitForScreen('the first choice again', firstChoice);

  // Silence, over a second of audio in which a menu moves twice.
  const silentMoves = async () => {
    await page.evaluate(LOUDEST_SINCE);
    await page.press('ArrowDown');
    await sleep(500);
    await page.press('ArrowUp');
    await sleep(500);
    return page.evaluate(LOUDEST_SINCE);
  };

  // ---- M silences the game, and the choice is kept in the browser's storage.
  await page.press('KeyM');
  await page.waitFor(`(() => { try { return FS.readFile('${SETTINGS}', {encoding: 'utf8'})
                          .includes('mute = on'); } catch (e) { return false; } })()`,
                     10000, 'the settings file to say mute');
  await page.waitFor('Module.savedToStorage > 0', 10000, 'the settings to reach the storage');
  const muted = await silentMoves();
  check(muted === 0, `after M the menu's moves give silence (peak ${muted})`);

  await page.goto(url);
  await page.waitForScreen('the title after a reload', firstChoice);
  const kept = await page.evaluate(`FS.readFile('${SETTINGS}', {encoding: 'utf8'})`)
                   .catch(() => '');
  check(kept.includes('mute = on'), `after a reload the settings say mute: ${JSON.stringify(kept)}`);
  const mutedAfterReload = await silentMoves();
  await page.waitForScreen('the first choice again', firstChoice);
  await page.press('KeyM');
  await page.press('ArrowDown');
  await page.waitFor('(window.loudest || 0) > 0.01', 10000, 'a menu\'s move to be heard');
  await page.press('ArrowUp');
  await page.waitForScreen('the first choice again', firstChoice);
  check(mutedAfterReload === 0,
        `the reloaded game starts muted (peak ${mutedAfterReload}), and M lets it be heard again`);

  // ---- Fullscreen is the browser's, of the canvas, in its proportions; the game goes on.
  const fullscreen = () => page.evaluate(`(() => {
    const canvas = document.querySelector('canvas');
    return {on: document.fullscreenElement === canvas, fit: getComputedStyle(canvas).objectFit,
            width: canvas.width, height: canvas.height};
  })()`);
  await page.press('F11');
  await page.waitFor('document.fullscreenElement !== null', 10000, 'fullscreen');
  const full = await fullscreen();
  await sleep(300);
  check(full.on && full.fit === 'contain' && full.width === 1024 && full.height === 768 &&
            firstChoice((await page.screen()).image),
        `F11 shows the canvas alone, fullscreen, its 1024 by 768 pixels contained in their ` +
            `proportions (${JSON.stringify(full)}), the title still drawn`);
  await page.press('F11');
  await page.waitFor('document.fullscreenElement === null', 10000, 'a window again');
  check(true, 'F11 again leaves fullscreen');

  await page.key('AltLeft', 'down', false, 1);
  await page.press('Enter', 1);
  await page.key('AltLeft', 'up');
  await page.waitFor('document.fullscreenElement !== null', 10000, 'fullscreen by Alt+Return');
  await sleep(300);
  check(firstChoice((await page.screen()).image),
        'Alt+Return shows fullscreen too, and is no Return for the title');
  await page.evaluate('document.exitFullscreen()');
  await page.waitFor('document.fullscreenElement === null', 10000, 'a window again');
  await sleep(300);
  await page.press('F11');
  await page.waitFor('document.fullscreenElement !== null', 10000, 'fullscreen');
  check(true, 'after the browser left fullscreen on its own, F11 enters it again at once');
  await page.press('F11');
  await page.waitFor('document.fullscreenElement === null', 10000, 'a window again');

  // The page's button: the game knows it is fullscreen, so F11 leaves at once.
  const button = await page.evaluate(`(() => {
    const r = document.getElementById('fullscreen').getBoundingClientRect();
    return {x: r.x + r.width / 2, y: r.y + r.height / 2};
  })()`);
  for (const type of ['mousePressed', 'mouseReleased'])
    await page.send('Input.dispatchMouseEvent', {type, ...button, button: 'left', clickCount: 1});
  await page.waitFor('document.fullscreenElement === document.querySelector("canvas")', 10000,
                     'fullscreen by the page\'s button');
  await sleep(300);
  await page.press('F11');
  await page.waitFor('document.fullscreenElement === null', 10000, 'a window again');
  check(true, 'the page\'s Fullscreen button shows the canvas fullscreen, and F11 then leaves');

  // ---- A gamepad in the browser's standard layout, reported only once the page runs (as a
  // browser reports a pad at its first press): the D-pad moves through the title, the first
  // button chooses, Start goes on.
  await page.evaluate(`(() => {
    const button = () => ({pressed: false, touched: false, value: 0});
    window.pad = {id: 'Test pad (STANDARD GAMEPAD)', index: 0, mapping: 'standard',
                  connected: true, timestamp: performance.now(),
                  buttons: Array.from({length: 17}, button), axes: [0, 0, 0, 0]};
    window.padButton = (index, down) => {
      pad.buttons[index] = {pressed: down, touched: down, value: down ? 1 : 0};
      pad.timestamp = performance.now();
    };
    navigator.getGamepads = () => [pad, null, null, null];
  })()`);
  const padPress = async (index) => {
    await page.evaluate(`padButton(${index}, true)`);
    await sleep(300);
    await page.evaluate(`padButton(${index}, false)`);
    await sleep(300);
  };
  await sleep(300);
  await padPress(13);  // down
  await page.waitForScreen('the outline off the first choice',
                           (image) => mismatches(image, outline, 345, 304) > 0);
  await padPress(12);  // up
  await page.waitForScreen('the outline back on the first choice', firstChoice);
  check(true, 'the D-pad moves the title\'s outline down and up');
  await padPress(0);
  await page.waitForScreen('the instructions', (image) => mismatches(image, instructions, 0, 0) === 0);
  check(true, 'the first button chooses: the instructions');
  await padPress(9);  // Start, in the browser's layout
  await page.waitForScreen('the ship select', (image) =>
      mismatches(image, shipSelect, 0, 0, [area(30, 623, bar)]) === 0);
  check(true, 'Start goes on: the ship select');
});
