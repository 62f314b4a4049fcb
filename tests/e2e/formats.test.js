'use strict';
// A site made with the HTML viewer from one picture of each format a phone or camera
// hands over (HEIC, AVIF, WebP, PNG with transparency, 16-bit TIFF, a PNG named .jpg),
// opened in Debian's Chromium on a desktop and a phone: every picture shows, in its shape.
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { spawnSync } = require('node:child_process');
const { pathToFileURL } = require('node:url');
const { CLI, SCREENSHOTS, launchChromium, projectFile } = require('./site_fixture');

const MAKE_PICTURES = process.env.QUORVALE_MAKE_PICTURES;
const FILES = ['portrait.heic', 'photo.avif', 'photo.webp', 'clear.png', 'deep.tif', 'png-inside.jpg'];
const VIEWPORTS = [
  ['desktop', { viewport: { width: 1280, height: 800 } }],
  ['phone', { viewport: { width: 390, height: 844 }, hasTouch: true, isMobile: true, deviceScaleFactor: 2 }],
];

let work, site, browser;

before(async () => {
  work = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvale-formats-e2e-'));
  site = path.join(work, 'site');
  const pictures = path.join(work, 'pictures');
  fs.mkdirSync(site);
  fs.mkdirSync(pictures);
  const made = spawnSync(MAKE_PICTURES, [pictures], { encoding: 'utf8' });
  assert.equal(made.status, 0, made.stderr);
  const project = path.join(work, 'Phone.qs1');
  fs.writeFileSync(project, projectFile([{ title: 'Phone', pictures: FILES.map((file) => [file, file]) }],
    'HTML', site, pictures));
  const run = spawnSync(CLI, ['generate', project], { encoding: 'utf8', timeout: 60000 });
  assert.equal(run.status, 0, `quorvale-cli generate:\n${run.stdout}\n${run.stderr}`);
  browser = await launchChromium();
});

after(async () => {
  if (browser) await browser.close();
  if (work) fs.rmSync(work, { recursive: true, force: true });
});

test('the album page shows every format, and the lightbox shows each one whole', async () => {
  for (const [name, options] of VIEWPORTS) {
    const context = await browser.newContext(options);
    const page = await context.newPage();
    await page.goto(pathToFileURL(path.join(site, 'album-0.htm')).href);
    const tiles = await page.$$eval('#pictures > li img', async (images) => Promise.all(images.map(async (img) => {
      img.scrollIntoView();
      await img.decode().catch(() => {});
      return { width: img.naturalWidth, height: img.naturalHeight, alt: img.alt };
    })));
    assert.equal(tiles.length, FILES.length, name);
    tiles.forEach((tile, i) => assert.ok(tile.width > 0, `${name}: ${FILES[i]} is not shown`));
    await page.screenshot({ path: path.join(SCREENSHOTS, `e2e_formats_${name}.png`), fullPage: true });

    for (let i = 0; i < FILES.length; i += 1) {
      // A fresh load per picture: the address's ending opens the lightbox on it.
      await page.goto('about:blank');
      await page.goto(`${pathToFileURL(path.join(site, 'album-0.htm')).href}#p${i + 1}`);
      const shown = await page.waitForFunction(() => {
        const slide = window.pswp && window.pswp.currSlide;
        const img = slide && slide.content && slide.content.element;
        return img && img.complete && img.naturalWidth > 0
          ? { src: img.currentSrc || img.src, width: img.naturalWidth, height: img.naturalHeight } : null;
      }, null, { timeout: 10000, polling: 100 }).then((handle) => handle.jsonValue()).catch(() => null);
      assert.ok(shown, `${name}: the lightbox does not show ${FILES[i]}`);
      assert.match(shown.src, /\.(jpg|webp)$/, `${name}: ${FILES[i]} is shown from ${shown.src}`);
      // The grid's tiles are square crops; the lightbox shows the whole picture.
      if (i === 0) assert.ok(shown.height > shown.width, `${name}: the HEIC portrait is not tall`);
    }
    await context.close();
  }
});
