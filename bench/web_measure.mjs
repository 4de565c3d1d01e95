// Measures the web build in headless chromium, on a server on 127.0.0.1 that it starts and
// stops: the time from navigation to the first drawn title, the frames a second in play on
// level 1, and the time from navigation to the first frame of level 1 and of level 35 (the
// most walls) opened from a link, against the title's. Prints the figures; asserts nothing.
//   node bench/web_measure.mjs [BUILD_WEB [RUNS]]   (from the project's root)
import fs from 'node:fs';
import zlib from 'node:zlib';

import {Browser, say, sleep, startServer} from '../tests/web/lib.mjs';

const build = process.argv[2] || 'build-web';
const runs = Number(process.argv[3] || 5);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const ms = (values) => `median ${median(values).toFixed(0)} ms (${values.map((v) => v.toFixed(0))
                                                                    .join(', ')})`;

const server = await startServer(build);
const browser = await Browser.launch();
try {
  const page = await browser.newPage();
  const title = [];
  for (let i = 0; i < runs; ++i) {
    await page.goto(`${server.url}/site/index.html`);
    title.push(await page.waitFor('Module.firstFlipAt', 30000));
  }
  say(`first drawn title after navigation: ${ms(title)}`);

  for (let i = 0; i < 3; ++i) {
    await page.press('Enter');
    await sleep(300);
  }
  await sleep(1000);
  const fps = [];
  for (let i = 0; i < runs; ++i) {
    const [flips, at] = await page.evaluate('[Module.flips, performance.now()]');
    await sleep(2000);
    const [later, then] = await page.evaluate('[Module.flips, performance.now()]');
    fps.push((later - flips) / ((then - at) / 1000));
  }
  say(`frames a second in play on level 1: ${fps.map((v) => v.toFixed(1)).join(', ')}`);

  for (const level of [1, 35]) {
    const link = zlib.deflateRawSync(fs.readFileSync(`levels/level${level}.txt`))
                     .toString('base64url');
    const firstFrame = [];
    for (let i = 0; i < runs; ++i) {
      await page.goto(`${server.url}/site/index.html#level=${link}`);
      firstFrame.push(await page.waitFor('Module.firstFlipAt', 30000));
    }
    say(`first frame of level ${level} from a link, after navigation: ${ms(firstFrame)}; ` +
        `${(median(firstFrame) - median(title)).toFixed(0)} ms after the title's`);
  }
} finally {
  await browser.close();
  server.close();
}
