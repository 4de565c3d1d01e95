// Every shipped replay, played by the web build of the replay tool in headless chromium, ends
// on the same outcome and frame as the native replay tool says.
import {run} from './lib.mjs';

const levels = process.env.LEVELS ? process.env.LEVELS.split(',').map(Number)
                                  : Array.from({length: 35}, (_, i) => i + 1);

run('Shipped replays end in the browser as they do natively', async ({server, browser, check,
                                                                      native}) => {
  const page = await browser.newPage();
  for (const n of levels) {
    const args = [`solutions/level${n}.txt`];
    const expected = native.replay(args);
    const started = Date.now();
    await page.goto(`${server.url}/replay.html?args=${encodeURIComponent(JSON.stringify(args))}`);
    const result = await page.waitFor('window.replay.status !== null && window.replay', 180000,
                                      `the replay of level ${n} to end`);
    // The browser's SDL says so when SDL_Quit runs at the exit; the tool's own lines remain.
    result.out = result.out.filter((line) => line !== 'SDL_Quit called (and ignored)');
    const seconds = ((Date.now() - started) / 1000).toFixed(1);
    check(result.out.join('\n') === expected,
          `level ${n}: "${result.out.join(' | ')}" in the browser (${seconds} s), ` +
          `"${expected}" natively` + (result.err.length ? `; errors: ${result.err.join(' | ')}` : ''));
  }
});
