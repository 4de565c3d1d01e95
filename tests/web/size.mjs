// The site a web server hands out stays small: under 4 MB as it lies on the disk, and under
// 1 MB compressed as a server's gzip sends it.
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

import {say} from './lib.mjs';

const site = path.join(process.argv[2] || 'build-web', 'site');
let raw = 0, gzipped = 0;
for (const name of fs.readdirSync(site).sort()) {
  const bytes = fs.readFileSync(path.join(site, name));
  const packed = zlib.gzipSync(bytes).length;
  raw += bytes.length;
  gzipped += packed;
  say(`${name}: ${bytes.length} bytes, ${packed} gzipped`);
}
const MB = 1000 * 1000;
const ok = raw < 4 * MB && gzipped < 1 * MB;
say(`${ok ? 'ok' : 'FAILED'}: the site is ${raw} bytes, ${gzipped} gzipped ` +
    '(at most 4 MB and 1 MB)');
process.exit(ok ? 0 : 1);
