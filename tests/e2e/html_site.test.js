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
// with one file name, an album without pictures, a camera's picture with its date,
// model and position under a comment too long for two lines.
const LONG_COMMENT = 'The rose garden after the storm, ' + 'petals on every path and bench, '.repeat(8).trim();
const ALBUMS = [
  { title: 'Harbour & <boats>', pictures: [['harbour.jpg', 'Boats at "dawn"'], ['tower.jpg', ''],
    ['gone.jpg', 'Lost & never found'], ['garden.gif', 'Roses after the rain'], ['again/harbour.jpg', 'Quay']] },
  { title: 'Garden', pictures: [['camera.jpg', LONG_COMMENT], ['garden.gif', 'Roses']] },
  { title: 'Nothing yet', pictures: [] },
];

let work, site, bareSite, locatedSite, polishSite, browser;

// The address of a page of the site, with an ending such as "#p2" kept as it is.
const fileUrl = (name, folder = site) => {
  const [page, ending] = name.split('#');
  return pathToFileURL(path.join(folder, page)).href + (ending ? `#${ending}` : '');
};

// A page with every request, console error and script error it causes recorded.
// With `clock`, the page's timers run on Playwright's clock, so a test can move time on.
async function openPage(options, name, folder = site, { clock = false } = {}) {
  const context = await browser.newContext(options);
  if (clock) await context.clock.install();
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
    caption: document.querySelector('.pswp__caption-text').textContent } : null;
});
const addressEnding = (page) => new URL(page.url()).hash;

before(async () => {
  assert.ok(CLI, 'QUORVALE_CLI names the quorvale-cli executable');
  work = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvale-html-e2e-'));
  site = path.join(work, 'site');
  fs.mkdirSync(site);
  const pictures = path.join(work, 'pictures');
  fs.mkdirSync(path.join(pictures, 'again'), { recursive: true });
  for (const file of ['harbour.jpg', 'tower.jpg', 'garden.gif', 'camera.jpg']) {
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

  // The first two albums as a site without its originals, and as one that keeps the
  // pictures' positions.
  for (const [name, folder, options] of [['Without originals', 'bare', { publishOriginals: false }],
    ['With positions', 'located', { keepLocation: true }],
    ['Polish', 'polski', { siteTitle: 'Wycieczki rodzinne', siteLanguage: 'pl' }]]) {
    const other = path.join(work, `${name}.qs1`);
    fs.mkdirSync(path.join(work, folder));
    fs.writeFileSync(other, projectFile(ALBUMS.slice(0, 2), 'HTML', path.join(work, folder), pictures, options));
    spawnSync(CLI, ['generate', other], { encoding: 'utf8', timeout: 60000 });
  }
  bareSite = path.join(work, 'bare');
  locatedSite = path.join(work, 'located');
  polishSite = path.join(work, 'polski');

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
      { href: 'album-1.htm', title: 'Garden', count: '2 pictures' },
      { href: 'album-2.htm', title: 'Nothing yet', count: 'No pictures' },
    ]);
    assert.equal(await page.textContent('.album-card.empty .placeholder'), 'This album has no pictures yet');
    // What a messenger shows of a shared link, and the site's own icon.
    assert.deepEqual(await page.$$eval('meta[name=description], meta[property^="og:"], meta[name^="twitter:"]',
      (all) => all.map((m) => `${m.getAttribute('name') || m.getAttribute('property')}=${m.content}`)), [
      'description=3 albums, 7 pictures', 'og:type=website', 'og:title=Family trips',
      'og:description=3 albums, 7 pictures', 'og:image=PhotoAlbum/images/album-0/harbour.jpg',
      'twitter:card=summary_large_image']);
    assert.ok(fs.existsSync(path.join(site, await page.getAttribute('link[rel=icon]', 'href'))));
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
  assert.match(await page.getAttribute('.pswp__button--download', 'href'), /images\/album-0\/harbour\.jpg$/);
  assert.equal(await page.getAttribute('.pswp__button--download', 'download'), '');
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
  assert.equal(await page.isVisible('.pswp__button--download'), false);
  assert.equal(await page.getAttribute('.pswp__button--download', 'download'), null);
  await context.close();
});

// The lightbox open and ready for keys and swipes once its opening animation is over.
async function openLightbox(page, selector) {
  if (selector) await page.click(selector);
  await page.waitForSelector('.pswp--open');
  await page.waitForFunction(() => window.pswp && window.pswp.opener && window.pswp.opener.isOpen, null,
    { polling: 100 });
}

// Vertical overlap in pixels of two boxes.
const overlap = (a, b) => Math.max(0, Math.min(a.bottom, b.bottom) - Math.max(a.top, b.top));

test('a long caption keeps below the picture, inside the screen, and shows whole on "more"', async () => {
  for (const [options, shot] of [[DESKTOP, 'e2e_html_caption.png'], [PHONE, 'e2e_html_caption_phone.png']]) {
    const { context, page } = await openPage(options, 'album-1.htm#p1');
    await openLightbox(page);
    const boxes = await page.evaluate(() => {
      const box = (element) => element.getBoundingClientRect().toJSON();
      return { caption: box(document.querySelector('.pswp__caption')), picture: box(window.pswp.currSlide.content.element),
        bar: box(document.querySelector('.pswp__top-bar')), width: innerWidth, height: innerHeight };
    });
    const { caption, picture, bar } = boxes;
    assert.ok(caption.left >= 0 && caption.top >= 0 && caption.right <= boxes.width && caption.bottom <= boxes.height,
      JSON.stringify(boxes));
    assert.ok(overlap(caption, picture) <= picture.height / 5, JSON.stringify(boxes));
    // On a phone neither the caption nor the buttons cover the picture.
    if (options === PHONE) assert.equal(overlap(caption, picture) + overlap(bar, picture), 0, JSON.stringify(boxes));
    await page.screenshot({ path: path.join(SCREENSHOTS, shot) });
    await page.click('.pswp__caption-more');
    assert.equal(await page.getAttribute('.pswp__caption-more', 'aria-expanded'), 'true');
    assert.ok(await page.$eval('.pswp__caption-text', (text) => text.scrollHeight <= text.clientHeight + 1));
    await context.close();
  }
});

test('the lightbox is a named dialog that keeps the focus, plays to the end, and Back closes it', async () => {
  const { context, page, seen } = await openPage(DESKTOP, 'album-0.htm', site, { clock: true });
  await openLightbox(page, '#p4 a');
  assert.equal(await page.getAttribute('.pswp', 'aria-label'), 'Pictures');
  await assertAccessible(page);
  await page.click('.pswp__button--copy-link');
  await page.waitForSelector('.pswp__status:text("Link copied")');
  for (let i = 0; i < 12; i++) {
    await page.keyboard.press('Tab');
    assert.ok(await page.evaluate(() => document.querySelector('.pswp').contains(document.activeElement)), `Tab ${i}`);
  }
  // The slideshow moves on from p4 to the last picture, p5, and stops there.
  await page.click('.pswp__button--slideshow');
  assert.equal(await page.getAttribute('.pswp__button--slideshow', 'aria-pressed'), 'true');
  await page.clock.fastForward(4100);
  await page.waitForFunction(() => location.hash === '#p5');
  await page.clock.fastForward(4100);
  await page.waitForSelector('.pswp__button--slideshow[aria-pressed=false]');
  assert.equal(addressEnding(page), '#p5');

  await page.goBack();
  await page.waitForSelector('.pswp', { state: 'detached' });
  assert.equal(new URL(page.url()).pathname.split('/').pop(), 'album-0.htm');
  assert.equal(addressEnding(page), '');
  assertSelfContained(seen);
  await context.close();
});

test('the information panel tells only what the published file holds', async () => {
  const cases = [
    [site, ['Date taken', '2026-05-01 14:26', 'Camera', 'Lumix DMC-TZ100', 'Dimensions', '640 \u00d7 1600']],
    [locatedSite, ['Date taken', '2026-05-01 14:26', 'Camera', 'Lumix DMC-TZ100', 'Dimensions', '640 \u00d7 1600',
      'Location', '52.22970, 21.01220']],
    // Without originals the file is the display copy, which keeps no date or camera.
    [bareSite, ['Dimensions', '640 \u00d7 1600']],
  ];
  for (const [folder, expected] of cases) {
    const { context, page } = await openPage(DESKTOP, 'album-1.htm#p1', folder);
    await openLightbox(page);
    await page.click('.pswp__button--info');
    const facts = await page.$$eval('.pswp__info dt, .pswp__info dd', (all) => all.map((e) => e.textContent));
    // The file size follows the dimensions; its figure depends on the encoder.
    const size = facts.indexOf('File size');
    assert.match(facts[size + 1], /^\d+(\.\d)?\u00a0(B|KB)$/);
    facts.splice(size, 2);
    assert.deepEqual(facts, expected, folder);
    await context.close();
  }
});

test('a site made in Polish has its title, lang="pl" and Polish words, and an ISO date', async () => {
  const home = await openPage(PHONE, 'PhotoAlbum.htm', polishSite);
  assert.equal(await home.page.getAttribute('html', 'lang'), 'pl');
  assert.equal(await home.page.title(), 'Wycieczki rodzinne');
  assert.deepEqual(await home.page.$$eval('.page-count, .album-count', (all) => all.map((e) => e.textContent)),
    ['2 albumy', '5 zdjęć', '2 zdjęcia']);
  assert.match(await home.page.textContent('footer'), /^\s*Wygenerowano przez Quorvale \S+ @ \d{4}-\d\d-\d\d \d\d:\d\d\s*$/);
  assert.equal(await home.page.$('footer a'), null);
  await assertAccessible(home.page);
  await home.page.screenshot({ path: path.join(SCREENSHOTS, 'e2e_html_home_pl_phone.png'), fullPage: true });
  await home.context.close();

  const { context, page } = await openPage(DESKTOP, 'album-0.htm', polishSite);
  assert.equal(await page.textContent('.nav-home'), 'Wszystkie albumy');
  await openLightbox(page, '#p1 a');
  assert.equal(await page.getAttribute('.pswp__button--close', 'title'), 'Zamknij (Esc)');
  assert.equal(await page.getAttribute('.pswp', 'aria-label'), 'Zdjęcia');
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

test('a tile loads the srcset candidate its box needs, cut to the tile\'s square, on a desktop and a phone', async () => {
  for (const [name, options] of [['desktop', DESKTOP], ['phone', PHONE]]) {
    // The Garden album opens with a panorama (1600 x 640).
    const { context, page, seen } = await openPage(options, 'album-1.htm');
    const tile = await page.evaluate(async () => {
      const img = document.querySelector('#p1 img');
      img.scrollIntoView();
      await img.decode();
      const source = img.closest('picture') && img.closest('picture').querySelector('source');
      const candidates = (source ? source.srcset : img.srcset).split(', ').map((c) => Number(c.split(' ')[1].slice(0, -1)));
      return { natural: [img.naturalWidth, img.naturalHeight], box: [img.clientWidth, img.clientHeight],
        needed: img.clientWidth * window.devicePixelRatio, candidates, src: img.currentSrc };
    });
    const message = `${name}: ${JSON.stringify(tile)}`;
    // Cropped to the tile's square, so nothing is stretched or squeezed.
    assert.equal(tile.natural[0], tile.natural[1], message);
    assert.equal(tile.box[0], tile.box[1], message);
    // The loaded file's width, which its name carries (naturalWidth is scaled by the
    // candidate's density): sharp (the widest there is, or at least what the box needs at
    // the screen's density) and no wider: no smaller candidate would have been enough.
    const loaded = Number(tile.src.match(/-(\d+)\.\w+$/)[1]);
    assert.ok(tile.candidates.includes(loaded), message);
    assert.ok(loaded >= Math.min(tile.needed, Math.max(...tile.candidates)), message);
    assert.ok(tile.candidates.filter((w) => w < loaded).every((w) => w < tile.needed), message);
    assert.match(tile.src, /\.webp$/, message);
    await page.screenshot({ path: path.join(SCREENSHOTS, `e2e_html_srcset_${name}.png`), fullPage: true });
    assertSelfContained(seen);
    await context.close();
  }
});
