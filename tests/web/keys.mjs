// A person's keys on the game's page: Enter through the title, the instructions and the ship
// select into level 1; a held arrow moves the ship 2 pixels a frame; a held Space, repeating as
// a held key does in a browser, fires one shot; Escape goes back to the title.
import {find, mismatches, run, sleep} from './lib.mjs';

const SHIP_ROW = 680;

// Where a picture drawn at (x, y) lies.
const area = (x, y, picture) => ({x, y, w: picture.width, h: picture.height});  // level 1 places the ship at (487, 680)

run('Keys play the game in the browser', async ({server, browser, check, native}) => {
  const title = native.picture('StartMenu.bmp');
  const outline = native.picture('StartMenuOutline.bmp');
  const instructions = native.picture('Instructions.bmp');
  const shipSelect = native.picture('ShipSelect.bmp');
  const bar = native.picture('ShipSelectBar.bmp');
  const ship = native.picture('Ship.bmp');
  const page = await browser.newPage();

  const waitForScreen = (what, shows) => page.waitForScreen(what, shows);
  const showsTitle = (image) => mismatches(image, title, 0, 0, [area(345, 304, outline)]) ===
                                    0 && mismatches(image, outline, 345, 304) === 0;
  const shipAt = (image) => find(image, ship, 312, 712, SHIP_ROW, SHIP_ROW + ship.height)[0];

  await page.goto(`${server.url}/site/index.html`);
  await waitForScreen('the title', showsTitle);
  check(true, 'the title is drawn, its first choice outlined');
  check(await page.evaluate('document.title') === 'Skarlume',
        'the tab is named after the game\'s caption');

  // The page keeps to the window: a small one scales the canvas down in its own proportions,
  // with no scroll bars; a large one shows it at its own size.
  const layout = () => page.evaluate(`(() => {
    const r = document.querySelector('canvas').getBoundingClientRect();
    const page = document.documentElement;
    return {width: r.width, height: r.height, bottom: r.bottom, right: r.right,
            footerTop: document.querySelector('footer').getBoundingClientRect().top,
            scrolls: page.scrollWidth > page.clientWidth || page.scrollHeight > page.clientHeight,
            viewport: [innerWidth, innerHeight]};
  })()`);
  await page.send('Emulation.setDeviceMetricsOverride',
                  {width: 800, height: 500, deviceScaleFactor: 1, mobile: false});
  await sleep(200);
  const small = await layout();
  check(!small.scrolls && small.right <= 800 && small.bottom <= small.footerTop &&
            Math.abs(small.width / small.height - 4 / 3) < 0.01 && small.height < 500,
        `in an 800 by 500 window the canvas is ${small.width} by ${small.height}, ` +
            `above the footer, with no scroll bars`);
  await page.send('Emulation.clearDeviceMetricsOverride');
  await sleep(200);
  const large = await layout();
  check(large.width === 1024 && large.height === 768 && !large.scrolls,
        `in a ${large.viewport.join(' by ')} window the canvas is ${large.width} by ` +
            `${large.height}`);

  // Only the game's own keys are kept from the browser; the rest, and any with Ctrl, are the
  // page's. A key the page keeps reaches a focused page control, not the game.
  await page.evaluate(`window.seenKeys = [];
    window.addEventListener('keydown', (e) => seenKeys.push(e.code + (e.ctrlKey ? '+Ctrl' : '') +
                                                            (e.defaultPrevented ? ' kept' : '')));`);
  await page.press('ArrowLeft');
  await page.press('ArrowLeft', 2);
  await page.press('KeyA');
  await page.press('Tab');
  const focused = await page.evaluate('document.activeElement.id');
  await page.press('Space');
  const seen = await page.evaluate('seenKeys.join(", ")');
  check(seen === 'ArrowLeft kept, ArrowLeft+Ctrl, KeyA, Tab, Space',
        `the game keeps its own keys only: ${seen}`);
  await sleep(300);
  check(focused === 'open' && showsTitle((await page.screen()).image),
        `Tab reaches the page's first button (${focused}), and Space there does not reach the game`);
  await page.evaluate('document.activeElement.blur()');

  await page.press('Enter');
  await waitForScreen('the instructions', (image) => mismatches(image, instructions, 0, 0) === 0);
  check(true, 'Enter on the title shows the instructions');
  await page.press('Enter');
  await waitForScreen('the ship select', (image) =>
      mismatches(image, shipSelect, 0, 0, [area(30, 623, bar)]) === 0 &&
      mismatches(image, bar, 30, 623) === 0);
  check(true, 'Enter on the instructions shows the ship select, the first ship chosen');
  await page.press('Enter');
  await waitForScreen('level 1', (image) => shipAt(image)?.x === 487);
  check(true, 'Enter on the ship select starts level 1 with the ship at (487, 680)');
  const inPlay = await page.evaluate('document.title');
  check(inPlay === 'Skarlume - Level 1: First Light',
        `the tab names the level in play, as the native caption does: "${inPlay}"`);

  // Held right, the browser repeating the key-down: the ship keeps its pace.
  // (The ship has 175 pixels to its area's edge; on a busy machine more frames pass than asked.)
  await page.key('ArrowRight', 'down');
  await page.framesLater(3);
  const a = await page.screen();
  await page.hold('ArrowRight', {repeats: 3, apart: 3, release: false});
  const b = await page.screen();
  await page.key('ArrowRight', 'up');
  const xa = shipAt(a.image)?.x, xb = shipAt(b.image)?.x;
  const frames = b.flips - a.flips;
  check(frames >= 10 && xb - xa === 2 * frames,
        `held right, the ship went from x ${xa} to ${xb} in ${frames} frames`);
  await page.framesLater(3);
  const c = await page.screen();
  await page.framesLater(10);
  const d = await page.screen();
  check(shipAt(c.image) !== undefined && shipAt(c.image)?.x === shipAt(d.image)?.x,
        `released, the ship stays at x ${shipAt(d.image)?.x} over ${d.flips - c.flips} frames`);

  // Held Space, repeating every 9 frames: each repeat would fire 27 pixels behind the last
  // shot, which is 16 long.
  // The level's banner goes two seconds (120 frames) after the start: wait it out, so that
  // only the shot changes the picture.
  await page.framesLater(120);
  const before = await page.screen();
  const x = shipAt(before.image).x;
  await page.hold('Space', {repeats: 4, apart: 9, after: 6, release: false});
  const flying = await page.screen();
  await page.key('Space', 'up');
  // Rows above the ship where its column changed since before the shot, in runs.
  let runs = 0, inRun = false;
  for (let y = 0; y < SHIP_ROW; ++y) {
    let changed = false;
    for (let px = x; px < x + ship.width && !changed; ++px)
      changed = flying.image.pixels[y * 1024 + px] !== before.image.pixels[y * 1024 + px];
    if (changed && !inRun)
      ++runs;
    inRun = changed;
  }
  check(runs === 1, `a held Space put ${runs} shot(s) in flight above the ship`);

  await page.press('Escape');
  await waitForScreen('the title again', showsTitle);
  check(true, 'Escape in play goes back to the title');
  check(await page.evaluate('document.title') === 'Skarlume',
        'back at the title, the tab is named after the game alone');
});
