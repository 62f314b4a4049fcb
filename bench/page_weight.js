'use strict';
// The bytes an album page of a generated site makes a browser load before any action
// (no scrolling, no click), on a desktop and on a phone, served over HTTP from the
// site's folder so that every response has a size. Prints one line per viewport.
//
//   node bench/page_weight.js SITE_DIR [PAGE]        PAGE defaults to album-0.htm
//   NODE_PATH must reach playwright-core (the e2e tests' node_modules); QUORVALE_CHROMIUM
//   names the browser (default /usr/bin/chromium).
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const { chromium } = require('playwright-core');

const site = path.resolve(process.argv[2] || '.');
const page = process.argv[3] || 'album-0.htm';
const VIEWPORTS = [
  ['desktop 1280x800 @1x', { viewport: { width: 1280, height: 800 }, deviceScaleFactor: 1 }],
  ['phone 390x844 @3x', { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true }],
];

const server = http.createServer((request, response) => {
  const file = path.join(site, decodeURIComponent(new URL(request.url, 'http://site').pathname));
  if (!file.startsWith(site) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
    response.writeHead(404);
    response.end();
    return;
  }
  response.writeHead(200, { 'Content-Length': fs.statSync(file).size });
  fs.createReadStream(file).pipe(response);
});

(async () => {
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const browser = await chromium.launch({ executablePath: process.env.QUORVALE_CHROMIUM || '/usr/bin/chromium',
    headless: true, args: ['--headless', '--no-sandbox', '--disable-gpu'] });
  for (const [name, options] of VIEWPORTS) {
    const context = await browser.newContext(options);
    const tab = await context.newPage();
    const bytes = { images: 0, other: 0 };
    let count = 0;
    tab.on('response', async (response) => {
      const body = await response.body().catch(() => Buffer.alloc(0));
      bytes[/\.(jpe?g|gif|png|webp)$/i.test(new URL(response.url()).pathname) ? 'images' : 'other'] += body.length;
      count += 1;
    });
    await tab.goto(`http://127.0.0.1:${server.address().port}/${page}`, { waitUntil: 'networkidle' });
    await tab.waitForTimeout(500);
    const kb = (n) => (n / 1024).toFixed(0).padStart(6);
    console.log(`  ${name.padEnd(22)} ${kb(bytes.images + bytes.other)} KB in ${String(count).padStart(3)} files` +
      ` (images ${kb(bytes.images)} KB, the rest ${kb(bytes.other)} KB)`);
    await context.close();
  }
  await browser.close();
  server.close();
})().catch((error) => { console.error(error); process.exit(1); });
