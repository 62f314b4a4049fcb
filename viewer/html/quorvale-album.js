/* Quorvale's HTML viewer: the lightbox of an album page.
 *
 * The page works without this script: every thumbnail links to its display copy. With
 * it, a click (or Enter) on a thumbnail opens the picture in PhotoSwipe, whose browser
 * build the page loads before this file. The address follows the picture shown
 * (album-3.htm#p12, counting the album's pictures from 1, missing ones included), and
 * an address with such an ending opens that picture at once, so a picture can be
 * shared by its link. Plain script, no modules and no requests of its own: the site
 * works from a folder (file://) as from a web server.
 */
(function () {
  'use strict';

  var grid = document.getElementById('pictures');
  if (!grid || typeof PhotoSwipeLightbox !== 'function' || typeof PhotoSwipe !== 'function') return;

  var PICTURE_LINKS = 'a.picture';

  // The number of the picture that a link shows, from its tile's id "pK".
  function pictureNumber(link) {
    var tile = link.closest('li');
    var match = tile && /^p(\d+)$/.exec(tile.id);
    return match ? Number(match[1]) : 0;
  }

  function setAddressEnding(ending) {
    var address = location.href.split('#')[0] + ending;
    if (address === location.href) return;
    try {
      history.replaceState(history.state, '', address);
    } catch (refused) {
      // Some browsers refuse to change a file:// address; the lightbox works on.
    }
  }

  // The viewer's words in the site's language, written by the page beside its grid.
  var words = JSON.parse(grid.getAttribute('data-words') || '{}');

  // Room below the picture for its caption's lines, and above it for the buttons on a
  // narrow screen, so that neither covers the picture.
  var CAPTION_ROOM = 76;
  var TOP_BAR_ROOM = 60;
  function padding(viewport, data) {
    return {
      top: viewport.x < 700 ? TOP_BAR_ROOM : 0,
      bottom: data.caption ? CAPTION_ROOM : 0,
      left: 0,
      right: 0
    };
  }

  var lightbox = new PhotoSwipeLightbox({
    gallery: grid,
    children: PICTURE_LINKS,
    pswpModule: PhotoSwipe,
    bgOpacity: 0.97,
    paddingFn: padding,
    closeTitle: words.close,
    zoomTitle: words.zoom,
    arrowPrevTitle: words.previous,
    arrowNextTitle: words.next,
    errorMsg: words.error
  });

  // Each slide carries its caption (the comment under the thumbnail), the original
  // file's address (none when the site publishes no originals), its number in the album
  // and the facts of its information panel (only those its published file holds).
  var FACTS = ['taken', 'camera', 'pixels', 'bytes', 'location'];
  lightbox.addFilter('domItemData', function (data, element, link) {
    var tile = link.closest('li');
    var comment = tile && tile.querySelector('.comment');
    data.caption = comment ? comment.textContent : '';
    data.original = link.getAttribute('data-original');
    // A browser that chose a WebP thumbnail takes the display copies as WebP too.
    var thumbnail = link.querySelector('img');
    var webp = link.getAttribute('data-webp-srcset');
    if (webp && thumbnail && /\.webp$/.test(thumbnail.currentSrc || '')) data.srcset = webp;
    data.number = pictureNumber(link);
    data.facts = {};
    FACTS.forEach(function (fact) {
      var value = link.getAttribute('data-' + fact);
      if (value) data.facts[fact] = value;
    });
    return data;
  });

  function icon(paths) {
    return '<svg aria-hidden="true" class="pswp__icn" viewBox="0 0 32 32" width="32" height="32">' +
      '<path fill-rule="evenodd" d="' + paths + '"/></svg>';
  }
  var ICONS = {
    play: icon('M11 8v16l13-8z'),
    pause: icon('M10 8h4v16h-4z M18 8h4v16h-4z'),
    fullscreen: icon('M7 7h7v2.5H9.5V14H7z M18 7h7v7h-2.5V9.5H18z M7 18h2.5v4.5H14V25H7z M22.5 18H25v7h-7v-2.5h4.5z'),
    info: icon('M16 5a11 11 0 1 1 0 22a11 11 0 1 1 0-22z M16 7.5a8.5 8.5 0 1 0 0 17a8.5 8.5 0 1 0 0-17z' +
      ' M14.7 14h2.6v8h-2.6z M14.7 10h2.6v2.6h-2.6z'),
    download: icon('M14.7 6h2.6v11.2l4-4 1.8 1.8-7.1 7.1-7.1-7.1 1.8-1.8 4 4z M8 23h16v2.5H8z'),
    copy: icon('M11 11h13v14H11z M13.5 13.5v9h8v-9z M7 6h13v3H9.5v11H7z')
  };

  // "5.2 MB" in the page's language; units of 1024 bytes.
  function sizeText(bytes) {
    var units = ['B', 'KB', 'MB', 'GB'];
    var value = Number(bytes);
    var unit = 0;
    while (value >= 1024 && unit < units.length - 1) {
      value /= 1024;
      unit++;
    }
    var digits = unit === 0 ? 0 : 1;
    return value.toLocaleString(document.documentElement.lang || undefined,
      { minimumFractionDigits: digits, maximumFractionDigits: digits }) + '\u00a0' + units[unit];
  }

  // The slideshow: every SLIDESHOW_MS the next picture, until the last one.
  var SLIDESHOW_MS = 4000;
  var slideshow = { playing: false, timer: 0, button: null };
  function scheduleSlide(pswp) {
    clearTimeout(slideshow.timer);
    if (!slideshow.playing) return;
    slideshow.timer = setTimeout(function () {
      if (pswp.currIndex < pswp.getNumItems() - 1) pswp.next();
      else setPlaying(pswp, false);
    }, SLIDESHOW_MS);
  }
  function setPlaying(pswp, playing) {
    slideshow.playing = playing;
    var button = slideshow.button;
    if (button) {
      button.innerHTML = playing ? ICONS.pause : ICONS.play;
      button.title = playing ? words.pause : words.play;
      button.setAttribute('aria-label', button.title);
      button.setAttribute('aria-pressed', String(playing));
    }
    scheduleSlide(pswp);
  }

  // Copies `text` to the clipboard; the older way where the clipboard API is missing or
  // refuses (a page from a folder may not be allowed it).
  function copyText(text) {
    var older = function () { return copyTheOlderWay(text); };
    if (navigator.clipboard && window.isSecureContext) return navigator.clipboard.writeText(text).catch(older);
    return older();
  }
  function copyTheOlderWay(text) {
    return new Promise(function (resolve, reject) {
      var field = document.createElement('textarea');
      field.value = text;
      field.setAttribute('readonly', '');
      field.style.position = 'fixed';
      field.style.opacity = '0';
      lightbox.pswp.element.appendChild(field);
      field.select();
      var copied = document.execCommand('copy');
      field.remove();
      if (copied) resolve();
      else reject(new Error('copy refused'));
    });
  }

  lightbox.on('uiRegister', function () {
    var pswp = lightbox.pswp;
    var ui = pswp.ui;
    // The dialog's name, for screen readers.
    pswp.element.setAttribute('aria-label', words.dialog);
    pswp.element.setAttribute('aria-modal', 'true');
    // Tab and Shift+Tab go round the dialog's controls: past the last one the focus
    // would otherwise leave the page for the browser's own bar.
    pswp.on('keydown', function (event) {
      var key = event.originalEvent;
      if (key.key !== 'Tab') return;
      var controls = Array.prototype.filter.call(pswp.element.querySelectorAll('button, a[href]'), function (control) {
        return control.offsetParent !== null;
      });
      if (controls.length === 0) return;
      var first = controls[0];
      var last = controls[controls.length - 1];
      var active = document.activeElement;
      var around = key.shiftKey ? (active === first || active === pswp.element) : active === last;
      if (!around && pswp.element.contains(active) && active !== pswp.element) return;
      (key.shiftKey ? last : first).focus();
      key.preventDefault();
      event.preventDefault();
    });

    ui.registerElement({
      name: 'slideshow',
      order: 6,
      isButton: true,
      html: ICONS.play,
      title: words.play,
      ariaLabel: words.play,
      onInit: function (element, pswp) {
        slideshow.button = element;
        setPlaying(pswp, false);
        pswp.on('change', function () { scheduleSlide(pswp); });
        pswp.on('close', function () { setPlaying(pswp, false); });
      },
      onClick: function (event, element, pswp) { setPlaying(pswp, !slideshow.playing); }
    });
    ui.registerElement({
      name: 'fullscreen',
      order: 7,
      isButton: true,
      html: ICONS.fullscreen,
      title: words.fullscreen,
      ariaLabel: words.fullscreen,
      onInit: function (element, pswp) {
        element.hidden = !document.fullscreenEnabled;
        pswp.on('close', function () {
          if (document.fullscreenElement) document.exitFullscreen().catch(function () {});
        });
      },
      onClick: function (event, element, pswp) {
        if (document.fullscreenElement) document.exitFullscreen().catch(function () {});
        else pswp.element.requestFullscreen().catch(function () {});
      }
    });
    ui.registerElement({
      name: 'copy-link',
      order: 8,
      isButton: true,
      html: ICONS.copy,
      title: words.copy,
      ariaLabel: words.copy,
      onClick: function (event, element, pswp) {
        copyText(location.href).then(function () {
          var status = pswp.element.querySelector('.pswp__status');
          status.textContent = words.copied;
          status.hidden = false;
          clearTimeout(status.timer);
          status.timer = setTimeout(function () { status.hidden = true; }, 2500);
        }, function () {});
      }
    });
    ui.registerElement({
      name: 'status',
      order: 8,
      isButton: false,
      appendTo: 'root',
      onInit: function (element) {
        element.setAttribute('role', 'status');
        element.hidden = true;
      }
    });
    ui.registerElement({
      name: 'download',
      order: 8,
      isButton: true,
      tagName: 'a',
      html: ICONS.download,
      title: words.download,
      ariaLabel: words.download,
      onInit: function (element, pswp) {
        // A site made without its originals offers none: the button goes.
        pswp.on('change', function () {
          var original = pswp.currSlide.data.original;
          element.hidden = !original;
          if (original) {
            element.setAttribute('href', original);
            element.setAttribute('download', '');
          } else {
            element.removeAttribute('href');
            element.removeAttribute('download');
          }
        });
      }
    });
    ui.registerElement({
      name: 'info',
      order: 9,
      isButton: true,
      html: ICONS.info,
      title: words.info,
      ariaLabel: words.info,
      onInit: function (element, pswp) {
        element.setAttribute('aria-expanded', 'false');
        element.setAttribute('aria-controls', 'pswp__info');
        pswp.on('change', function () {
          element.hidden = Object.keys(pswp.currSlide.data.facts || {}).length === 0;
        });
      },
      onClick: function (event, element, pswp) {
        var panel = pswp.element.querySelector('.pswp__info');
        panel.hidden = !panel.hidden;
        element.setAttribute('aria-expanded', String(!panel.hidden));
      }
    });
    ui.registerElement({
      name: 'infoPanel',
      className: 'pswp__info',
      order: 9,
      isButton: false,
      appendTo: 'root',
      tagName: 'dl',
      onInit: function (element, pswp) {
        element.id = 'pswp__info';
        element.hidden = true;
        var labels = { taken: words.taken, camera: words.camera, pixels: words.dimensions,
          bytes: words.fileSize, location: words.location };
        pswp.on('change', function () {
          var facts = pswp.currSlide.data.facts || {};
          element.textContent = '';
          FACTS.forEach(function (fact) {
            if (!facts[fact]) return;
            var term = document.createElement('dt');
            term.textContent = labels[fact];
            var value = document.createElement('dd');
            value.textContent = fact === 'bytes' ? sizeText(facts[fact]) : facts[fact];
            element.appendChild(term);
            element.appendChild(value);
          });
          if (!element.firstChild) element.hidden = true;
        });
      }
    });
    ui.registerElement({
      name: 'caption',
      order: 9,
      isButton: false,
      appendTo: 'root',
      onInit: function (element, pswp) {
        element.setAttribute('aria-live', 'polite');
        var text = document.createElement('span');
        text.className = 'pswp__caption-text';
        var more = document.createElement('button');
        more.type = 'button';
        more.className = 'pswp__caption-more';
        element.appendChild(text);
        element.appendChild(more);
        // A caption longer than its lines ends in "more", which shows it whole above the
        // picture until the next picture or a second press.
        function showWhole(whole) {
          element.classList.toggle('whole', whole);
          more.textContent = whole ? words.less : words.more;
          more.setAttribute('aria-expanded', String(whole));
        }
        more.addEventListener('click', function () { showWhole(!element.classList.contains('whole')); });
        function fit() {
          showWhole(false);
          more.hidden = text.scrollHeight <= text.clientHeight + 1;
        }
        pswp.on('change', function () {
          var caption = pswp.currSlide.data.caption || '';
          text.textContent = caption;
          element.hidden = caption === '';
          if (caption !== '') fit();
        });
        pswp.on('resize', function () { if (!element.hidden) fit(); });
      }
    });
  });

  // The lightbox has an entry of its own in the history: opening it pushes the
  // picture's address (the album's own address stays below it), so the Back button
  // closes the lightbox and leaves the visitor on the album.
  var albumAddress = location.href.split('#')[0];
  function ownEntry() {
    return history.state !== null && typeof history.state === 'object' && history.state.quorvaleLightbox === true;
  }
  lightbox.on('change', function () {
    var slide = lightbox.pswp && lightbox.pswp.currSlide;
    if (!slide || !slide.data.number) return;
    var address = albumAddress + '#p' + slide.data.number;
    try {
      if (ownEntry()) {
        history.replaceState(history.state, '', address);
      } else {
        history.replaceState(null, '', albumAddress);
        history.pushState({ quorvaleLightbox: true }, '', address);
      }
    } catch (refused) {
      // Some browsers refuse to change a file:// address; the lightbox works on.
    }
  });
  lightbox.on('close', function () {
    if (ownEntry()) history.back();
    else setAddressEnding('');
  });
  window.addEventListener('popstate', function () {
    if (lightbox.pswp && !ownEntry()) lightbox.pswp.close();
  });
  lightbox.init();

  // Opens the picture that the address names, when it has images to show.
  function openFromAddress() {
    var match = /^#p(\d+)$/.exec(location.hash);
    if (!match) return;
    var links = Array.prototype.slice.call(grid.querySelectorAll(PICTURE_LINKS));
    for (var index = 0; index < links.length; index++) {
      if (pictureNumber(links[index]) !== Number(match[1])) continue;
      if (lightbox.pswp) {
        lightbox.pswp.goTo(index);
      } else {
        lightbox.loadAndOpen(index, { gallery: grid });
      }
      return;
    }
  }

  window.addEventListener('hashchange', openFromAddress);
  openFromAddress();
})();
