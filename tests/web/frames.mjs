// Frames of several levels drawn by the web build of the replay tool match, pixel for pixel at
// the native screen's 5-6-5 depth, the shots the native replay tool takes of the same frames:
// the first, the middle and the last of each level.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import {readBmp565, run} from './lib.mjs';

// Among them the levels whose partial redraws reach past the window's edges.
const LEVELS = [1, 12, 25, 27, 31, 35];

run('Frames drawn in the browser match the native ones', async ({server, browser, check,
                                                               native}) => {
  const page = await browser.newPage();
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'skarlume-frames-'));
  try {
    for (const n of LEVELS) {
      const replay = `solutions/level${n}.txt`;
      const last = Number(/at frame (\d+)/.exec(native.replay([replay]))[1]);
      const frames = [1, Math.floor(last / 2), last];
      const shots = (dir) => frames.flatMap((f) => ['--shot', String(f), `${dir}/shot-${f}.bmp`]);
      native.replay([...shots(scratch), replay]);
      const args = [...shots(''), replay];
      await page.goto(`${server.url}/replay.html?args=${encodeURIComponent(JSON.stringify(args))}`);
      await page.waitFor('window.replay.status !== null', 180000, `the replay of level ${n}`);
      for (const f of frames) {
        const mine = readBmp565(await page.readFile(`/shot-${f}.bmp`));
        const theirs = readBmp565(fs.readFileSync(`${scratch}/shot-${f}.bmp`));
        let wrong = 0, first = null;
        for (let i = 0; i < theirs.pixels.length; ++i)
          if (mine.pixels[i] !== theirs.pixels[i]) {
            ++wrong;
            first = first ?? {x: i % theirs.width, y: Math.floor(i / theirs.width)};
          }
        check(mine.width === theirs.width && mine.height === theirs.height && wrong === 0,
              `level ${n}, frame ${f}: ${wrong} pixels differ` +
              (first ? `, the first at (${first.x}, ${first.y})` : ''));
      }
    }
  } finally {
    fs.rmSync(scratch, {recursive: true, force: true});
  }
});
