'use strict';
// What both browser tests share: the programs they run, Debian's Chromium as they start
// it, and a project file written the way the program saves one.
const path = require('node:path');
const { chromium } = require('playwright-core');

const CLI = process.env.QUORVALE_CLI;
const SCREENSHOTS = process.env.QUORVALE_SCREENSHOT_DIR || __dirname;
const CHROMIUM = process.env.QUORVALE_CHROMIUM || '/usr/bin/chromium';
const CHROMIUM_FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

const launchChromium = () => chromium.launch({ executablePath: CHROMIUM, headless: true, args: CHROMIUM_FLAGS });

// A project file as the program saves it: tag byte, "~", value, CR LF per record.
// `viewer` is the word the file keeps for it: "JAVA" or "HTML". `options` may ask for no
// published originals, for kept positions, and name a site title and language.
function projectFile(albums, viewer, publishDir, pictureDir,
  { publishOriginals = true, keepLocation = false, siteTitle = '', siteLanguage = '' } = {}) {
  const viewerFolder = viewer === 'HTML' ? 'Applications/Html' : 'Applications/Torvexa';
  const records = [[0x80, 'QS'], [0x81, '1.0'], [0x82, '0'], [0x83, publishDir], [0x84, publishOriginals ? '1' : '0'],
    [0x85, viewer], [0x86, viewerFolder]];
  if (keepLocation) records.push([0x8D, '1']);
  if (siteTitle) records.push([0x8E, siteTitle]);
  if (siteLanguage) records.push([0x8F, siteLanguage]);
  records.push([0x87, String(albums.length)]);
  albums.forEach((album, i) => {
    records.push([0x88, String(i)], [0x89, album.title], [0x8A, String(album.pictures.length)]);
    for (const [file, comment] of album.pictures) records.push([0x8B, path.join(pictureDir, file)], [0x8C, comment]);
  });

  return Buffer.concat(records.map(([tag, value]) =>
    Buffer.concat([Buffer.from([tag, 0x7e]), Buffer.from(value, /^[\x00-\x7f]*$/.test(value) ? 'latin1' : 'utf8'), Buffer.from('\r\n', 'latin1')])));
}

module.exports = { CLI, SCREENSHOTS, launchChromium, projectFile };
