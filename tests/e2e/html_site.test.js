'use strict';
// A site generated with the HTML viewer by quorvale-cli from a fixture project, opened in
// Debian's Chromium from file://, as a visitor on a desktop and on a phone uses it.
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { spawnSync } = require('node:child_process');
const { pathToFileURL } = require('node:url');
const { CLI, SCREENSHOTS, launchChromium, projectFile } = require('./site_fixture');
const { AxeBuilder } = require('@axe-core/playwright');

const DESKTOP = { viewport: { width: 1280, height: 800 } };
const PHONE = { viewport: { width: 390, height: 844 }, hasTouch: true, isMobile: true, deviceScaleFactor: 2 };

// The fixture project: a missing picture, a comment that needs escaping, two pictures
// with one file name, an album without pictures.
const ALBUMS = [
  { title: 'Harbour & <boats>', pictures: [['harbour.jpg', 'Boats at "dawn"'], ['tower.jpg', ''],
    ['gone.jpg', 'Lost & never found'], ['garden.gif', 'Roses after the rain'], ['again/harbour.jpg', 'Quay']] },
  { title: 'Garden', pictures: [['garden.gif', 'Roses']] },
  { title: 'Nothing yet', pictures: [] },
];

let work, site, bareSite, browser;

// The address of a page of the site, with an ending such as "#p2" kept as it is.
const fileUrl = (name, folder = site) => {
  const [page, ending] = name.split('#');
  return pathToFileURL(path.join(folder, page)).href + (ending ? `#${ending}` : '');
};

// A page with every request, console error and script error it causes recorded.
async function openPage(options, name, folder = site) {
  const context = await browser.newContext(options);
  const page = await context.newPage();
  const seen = { requests: [], errors: [] };
  page.on('request', (request) => seen.requests.push(request.url()));
  page.on('console', (message) => { if (message.type() === 'error') seen.errors.push(message.text()); });
  page.on('pageerror', (error) => seen.errors.push(String(error)));
  await page.goto(fileUrl(name, folder));
  await page.waitForLoadState('load');
  return { context, page, seen };
}

// Nothing asked for outside the site folder, and nothing went wrong in the page.
function assertSelfContained(seen) {
  const root = pathToFileURL(site).href + '/';
  assert.deepEqual(seen.requests.filter((url) => !url.startsWith(root) && !url.startsWith('data:')), []);
  assert.deepEqual(seen.errors, []);
}

async function assertAccessible(page) {
  // No preloading: axe would fetch the style sheets itself, which file:// refuses.
  const results = await new AxeBuilder({ page }).options({ preload: false }).analyze();
  const grave = results.violations.filter((v) => v.impact === 'serious' || v.impact === 'critical');
  assert.deepEqual(grave.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`), []);
}

// Every <img> scrolled into view and decoded.
async function imageWidths(page) {
  return page.evaluate(async () => {
    const widths = [];
    for (const img of document.images) {
      img.scrollIntoView();
      await img.decode().catch(() => {});
      widths.push(img.naturalWidth);
    }
    window.scrollTo(0, 0);
    return widths;
  });
}

const shownPicture = (page) => page.evaluate(() => {
  const slide = window.pswp && window.pswp.currSlide;
  return slide ? { src: new URL(slide.data.src, document.baseURI).pathname.split('/').slice(-3).join('/'),
    caption: document.querySelector('.pswp__caption').textContent } : null;
});
const addressEnding = (page) => new URL(page.url()).hash;

before(async () => {
  assert.ok(CLI, 'QUORVALE_CLI names the quorvale-cli executable');
  work = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvale-html-e2e-'));
  site = path.join(work, 'site');
  fs.mkdirSync(site);
  const pictures = path.join(work, 'pictures');
  fs.mkdirSync(path.join(pictures, 'again'), { recursive: true });
  for (const file of ['harbour.jpg', 'tower.jpg', 'garden.gif']) {
    fs.copyFileSync(path.join(__dirname, 'fixture', file), path.join(pictures, file));
  }
  fs.copyFileSync(path.join(__dirname, 'fixture', 'tower.jpg'), path.join(pictures, 'again', 'harbour.jpg'));
  const project = path.join(work, 'Family trips.qs1');
  fs.writeFileSync(project, projectFile(ALBUMS, 'HTML', site, pictures));

  const run = spawnSync(CLI, ['generate', project], { encoding: 'utf8', timeout: 60000 });
  const output = `${run.stdout}\n${run.stderr}`;
  // One missing picture and one empty album: generated, with 1 error and 1 warning.
  assert.equal(run.status, 1, `quorvale-cli generate:\n${output}`);
  assert.match(output, /Generation completed with 1 ERRORS and 1 WARNINGS\./);
  assert.match(output, /HTML Home Page and Index Files created\./);

  // The same first album as a site without its originals.
  bareSite = path.join(work, 'bare');
  fs.mkdirSync(bareSite);
  const bare = path.join(work, 'Without originals.qs1');
  fs.writeFileSync(bare, projectFile(ALBUMS.slice(0, 1), 'HTML', bareSite, pictures, false));
  spawnSync(CLI, ['generate', bare], { encoding: 'utf8', timeout: 60000 });

  browser = await launchChromium();
});

after(async () => {
  if (browser) await browser.close();
  if (work) fs.rmSync(work, { recursive: true, force: true });
});

test('the home page shows one card per album, in order, with its thumbnail', async () => {
  for (const [options, shot] of [[DESKTOP, 'e2e_html_home.png'], [PHONE, 'e2e_html_home_phone.png']]) {
    const { context, page, seen } = await openPage(options, 'PhotoAlbum.htm');
    assert.equal(await page.title(), 'Family trips');
    const cards = await page.$$eval('.album-card', (all) => all.map((card) => ({
      href: card.querySelector('a').getAttribute('href'),
      title: card.querySelector('.album-title').textContent,
      count: card.querySelector('.album-count').textContent,
    })));
    assert.deepEqual(cards, [
      { href: 'album-0.htm', title: ALBUMS[0].title, count: '5 pictures' },
      { href: 'album-1.htm', title: 'Garden', count: '1 picture' },
      { href: 'album-2.htm', title: 'Nothing yet', count: 'No pictures' },
    ]);
    assert.equal(await page.textContent('.album-card.empty .placeholder'), 'This album has no pictures yet');
    const widths = await imageWidths(page);
    assert.equal(widths.length, 2);
    assert.ok(widths.every((w) => w > 0), `thumbnails decoded: ${widths}`);
    await assertAccessible(page);
    await page.screenshot({ path: path.join(SCREENSHOTS, shot), fullPage: true });
    assertSelfContained(seen);
    await context.close();
  }
});

test('an album page shows its grid, and without scripts each thumbnail opens its picture', async () => {
  const { context, page, seen } = await openPage(DESKTOP, 'album-0.htm');
  const tiles = await page.$$eval('#pictures > li', (all) => all.map((tile) => ({
    id: tile.id,
    href: tile.querySelector('a.picture') && tile.querySelector('a.picture').getAttribute('href'),
    alt: tile.querySelector('img') && tile.querySelector('img').alt,
    text: tile.textContent.trim().replace(/\s+/g, ' '),
  })));
  assert.deepEqual(tiles.map((t) => t.id), ['p1', 'p2', 'p3', 'p4', 'p5']);
  assert.deepEqual(tiles.map((t) => t.alt), ['Boats at "dawn"', 'tower.jpg', null, 'Roses after the rain', 'Quay']);
  assert.equal(tiles[2].text, 'gone.jpgpicture not found Lost & never found');
  // The two harbour.jpg files are published under two names.
  assert.match(tiles[0].href, /images\/album-0\/harbour\.jpg$/);
  assert.match(tiles[4].href, /images\/album-0\/harbour-2\.jpg$/);
  assert.ok((await imageWidths(page)).every((w) => w > 0));
  assert.deepEqual(await page.$$eval('.album-nav a', (all) => all.map((a) => a.getAttribute('href'))),
    ['PhotoAlbum.htm', 'album-1.htm']);
  await assertAccessible(page);
  await page.screenshot({ path: path.join(SCREENSHOTS, 'e2e_html_album.png'), fullPage: true });
  assertSelfContained(seen);
  await context.close();

  const noScripts = await openPage({ ...DESKTOP, javaScriptEnabled: false }, 'album-0.htm');
  await Promise.all([noScripts.page.waitForURL(/harbour\.jpg$/), noScripts.page.click('#p1 a')]);
  await noScripts.context.close();
});

test('the lightbox opens on a click, follows the arrow keys in the address and closes on Escape', async () => {
  const { context, page, seen } = await openPage(DESKTOP, 'album-0.htm');
  await page.click('#p1 a');
  await page.waitForSelector('.pswp--open');
  // Keys reach the lightbox once its opening animation is over; a slow machine takes longer.
  await page.waitForFunction(() => window.pswp && window.pswp.opener && window.pswp.opener.isOpen, null,
    { polling: 100 });
  assert.deepEqual(await shownPicture(page), { src: 'images/album-0/harbour.jpg', caption: 'Boats at "dawn"' });
  assert.equal(addressEnding(page), '#p1');
  assert.match(await page.getAttribute('.pswp__button--original', 'href'), /images\/album-0\/harbour\.jpg$/);
  await page.screenshot({ path: path.join(SCREENSHOTS, 'e2e_html_lightbox.png') });

  // The missing picture has no slide: the second step goes from p2 to p4.
  const steps = [['ArrowRight', '#p2', ''], ['ArrowRight', '#p4', 'Roses after the rain'],
    ['ArrowRight', '#p5', 'Quay'], ['ArrowLeft', '#p4', 'Roses after the rain']];
  for (const [key, ending, caption] of steps) {
    await page.keyboard.press(key);
    await page.waitForFunction((want) => location.hash === want, ending, { polling: 100 });
    assert.equal((await shownPicture(page)).caption, caption, `${key} to ${ending}`);
  }
  await page.keyboard.press('Escape');
  await page.waitForSelector('.pswp', { state: 'detached' });
  assert.equal(addressEnding(page), '');

  // Enter on a focused thumbnail opens it as well.
  await page.focus('#p5 a');
  await page.keyboard.press('Enter');
  await page.waitForSelector('.pswp--open');
  assert.equal(addressEnding(page), '#p5');
  assertSelfContained(seen);
  await context.close();
});

test('a site without its originals offers no link to one in the lightbox', async () => {
  const { context, page } = await openPage(DESKTOP, 'album-0.htm#p1', bareSite);
  await page.waitForSelector('.pswp--open');
  assert.equal(await page.isVisible('.pswp__button--original'), false);
  await context.close();
});

test('an address naming a picture opens it at once', async () => {
  const { context, page, seen } = await openPage(DESKTOP, 'album-0.htm#p2');
  await page.waitForSelector('.pswp--open');
  assert.deepEqual(await shownPicture(page), { src: 'images/album-0/tower.jpg', caption: '' });
  assert.equal(addressEnding(page), '#p2');
  assertSelfContained(seen);
  await context.close();
});

test('on a phone a swipe moves to the next picture', async () => {
  const { context, page, seen } = await openPage(PHONE, 'album-0.htm');
  await page.tap('#p1 a');
  await page.waitForSelector('.pswp--open');
  // A swipe reaches the lightbox once its opening animation is over; a busy machine takes longer.
  await page.waitForFunction(() => window.pswp && window.pswp.opener && window.pswp.opener.isOpen, null,
    { polling: 100 });
  const touch = await context.newCDPSession(page);
  const swipe = async (from, to) => {
    await touch.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [{ x: from, y: 420 }] });
    for (let step = 1; step <= 8; step++) {
      const x = from + ((to - from) * step) / 8;
      await touch.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: [{ x, y: 420 }] });
    }
    await touch.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  };
  await swipe(330, 60);
  await page.waitForFunction(() => location.hash === '#p2');
  await page.waitForTimeout(400);
  await page.screenshot({ path: path.join(SCREENSHOTS, 'e2e_html_lightbox_phone.png') });
  await page.keyboard.press('Escape');
  await page.waitForSelector('.pswp', { state: 'detached' });
  await page.screenshot({ path: path.join(SCREENSHOTS, 'e2e_html_album_phone.png'), fullPage: true });
  assertSelfContained(seen);
  await context.close();
});
