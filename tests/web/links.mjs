// A level of one's own on the game's page: a file picked with the button or dropped on the page
// is played at once; "Share" puts it into the page's link, and that link, opened afresh, plays
// it and is won with one Space. A link whose level the loader finds broken shows the loader's
// messages, and one that is no level at all says so; the game plays on after both.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';

import {find, mismatches, run} from './lib.mjs';

// One crate straight above the ship: a single shot wins.
const ONE_SHOT = 'One shot\nShip(487, 680)\nShipArea(312, 620) (712, 760)\nCrate(487, 160)\n';
// The same ship and area, with a crate placed off to the left, to tell the two levels apart.
const OTHER = 'Aside\nShip(487, 680)\nShipArea(312, 620) (712, 760)\nCrate(100, 160)\n';

run('Own levels and shared links play in the browser', async ({server, browser, check, native}) => {
  const ship = native.picture('Ship.bmp');
  const crate = native.picture('Crate.bmp');
  const won = native.picture('LevelComplete.bmp');
  const title = native.picture('StartMenu.bmp');
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'skarlume-links-'));
  const levelFile = path.join(scratch, 'one-shot.txt');
  fs.writeFileSync(levelFile, ONE_SHOT);
  const otherFile = path.join(scratch, 'aside.txt');
  fs.writeFileSync(otherFile, OTHER);
  const site = `${server.url}/site/index.html`;
  const page = await browser.newPage();

  const waitForScreen = (what, shows, on = page) => on.waitForScreen(what, shows);
  const inPlayWithCrateAt = (x) => (image) =>
      find(image, ship, 487, 537, 680, 740).length === 1 &&
      find(image, crate, x, x + crate.width, 160, 160 + crate.height).length === 1;
  // The title, its outline aside; a line of lettering may tell why a level did not start.
  const showsTitle = (image) => mismatches(image, title, 0, 0, [{x: 345, y: 304, w: 334, h: 110}])
                                    < 1024 * 768 / 20;
  const messages = () => page.evaluate('document.getElementById("messages").textContent');
  const click = async (selector) => {
    const box = await page.evaluate(`(() => { const r = document.querySelector('${selector}')
                                       .getBoundingClientRect();
                                     return {x: r.x + r.width / 2, y: r.y + r.height / 2}; })()`);
    for (const type of ['mousePressed', 'mouseReleased'])
      await page.send('Input.dispatchMouseEvent', {type, ...box, button: 'left', clickCount: 1});
  };
  const reloadedAfter = async (action) => {
    await page.evaluate('window.beforeReload = true');
    await action();
    await page.waitFor('window.beforeReload === undefined && document.readyState === "complete"',
                       20000, 'the page to load again');
  };

  try {
    // The file button: the page starts again, straight into play on the file's level.
    await page.goto(site);
    await page.waitFor('Module.flips > 0');
    const {root} = await page.send('DOM.getDocument');
    const {nodeId} = await page.send('DOM.querySelector', {nodeId: root.nodeId, selector: '#file'});
    await reloadedAfter(() => page.send('DOM.setFileInputFiles', {nodeId, files: [otherFile]}));
    await waitForScreen('the opened level in play', inPlayWithCrateAt(100));
    check(true, 'a level file picked with the button is in play at once');

    // A file dropped on the page replaces it.
    await reloadedAfter(async () => {
      for (const type of ['dragEnter', 'dragOver', 'drop'])
        await page.send('Input.dispatchDragEvent', {
          type, x: 500, y: 400, data: {items: [], files: [levelFile], dragOperationsMask: 1}});
    });
    await waitForScreen('the dropped level in play', inPlayWithCrateAt(487));
    check(true, 'a level file dropped on the page is in play at once');

    // Share: the level into the link, URL-safe.
    check(await page.evaluate('location.hash') === '', 'no level in the link before sharing');
    await click('#share');
    const link = await page.waitFor('document.getElementById("link").value');
    const fragment = /#level=(.*)$/.exec(link)?.[1] ?? '';
    check(/^[A-Za-z0-9_-]+$/.test(fragment) &&
              zlib.inflateRawSync(Buffer.from(fragment, 'base64url')).toString() === ONE_SHOT,
          `"Share" puts the level, deflated and URL-safe, into the link (${link.length} characters)`);
    check(await page.evaluate('location.href') === link, 'the page\'s own link is the shared one');

    // The shared link, opened in a new page, plays that level; one Space wins it.
    const friend = await browser.newPage();
    await friend.goto(link);
    await waitForScreen('the shared level in play', inPlayWithCrateAt(487), friend);
    check(true, 'the shared link opens in play on its level');
    await friend.press('Space');
    // The won picture, with the level's line lettered over a small part of it.
    await waitForScreen('the level won', (image) => mismatches(image, won, 0, 0) < 1024 * 768 / 20,
                        friend);
    check(true, 'one Space wins the shared level');

    // A link whose level the loader finds broken: its messages are on the page, and the level
    // plays with what could be read.
    const broken = 'Ship(487)\nShipArea(312, 620) (712\nCrate(99999, 160)\nCrate(487, 160)\n';
    await page.goto(`${site}#level=${zlib.deflateRawSync(broken).toString('base64url')}`);
    await page.waitFor('Module.flips > 5');
    const said = await messages();
    check(['own/level.txt:1: Ship needs a position', 'own/level.txt:2: ShipArea needs two points',
           'own/level.txt:3: Crate: a coordinate lies outside'].every((m) => said.includes(m)),
          `a broken level's loader messages are on the page: ${JSON.stringify(said)}`);

    // Links that hold no level: the page says so and the game starts at its title.
    const bomb = zlib.deflateRawSync(Buffer.alloc(8 << 20, 'A')).toString('base64url');
    for (const [what, fragment, says] of [
             ['no base64', 'not*base64!', 'cannot be read'],
             ['no deflated data', Buffer.from('just some text').toString('base64url'),
              'cannot be read'],
             ['a level of 8 MB', bomb, 'larger than 256 KB']]) {
      await page.goto(`${site}#level=${fragment}`);
      await waitForScreen(`the title after a link with ${what}`, showsTitle);
      const text = await messages();
      check(text.includes(says), `a link with ${what}: "${text.trim()}", and the title plays`);
    }
  } finally {
    fs.rmSync(scratch, {recursive: true, force: true});
  }
});
