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

  var lightbox = new PhotoSwipeLightbox({
    gallery: grid,
    children: PICTURE_LINKS,
    pswpModule: PhotoSwipe,
    bgOpacity: 0.97,
    closeTitle: 'Close (Esc)',
    zoomTitle: 'Zoom in or out',
    arrowPrevTitle: 'Previous picture',
    arrowNextTitle: 'Next picture',
    errorMsg: 'This picture cannot be loaded.'
  });

  // Each slide carries its caption (the comment under the thumbnail), the original
  // file's address (none when the site publishes no originals) and its number in the
  // album.
  lightbox.addFilter('domItemData', function (data, element, link) {
    var tile = link.closest('li');
    var comment = tile && tile.querySelector('.comment');
    data.caption = comment ? comment.textContent : '';
    data.original = link.getAttribute('data-original');
    data.number = pictureNumber(link);
    return data;
  });

  lightbox.on('uiRegister', function () {
    var ui = lightbox.pswp.ui;
    ui.registerElement({
      name: 'original',
      order: 8,
      isButton: true,
      tagName: 'a',
      title: 'Open the original picture',
      ariaLabel: 'Open the original picture',
      html: '<svg aria-hidden="true" class="pswp__icn" viewBox="0 0 32 32" width="32" height="32">' +
        '<path d="M9 9h8v2h-6v10h10v-6h2v8H9z M19 7h6v6h-2v-2.6l-6.3 6.3-1.4-1.4L21.6 9H19z"/></svg>',
      onInit: function (element, pswp) {
        // A site made without its originals links none: the button goes.
        pswp.on('change', function () {
          var original = pswp.currSlide.data.original;
          element.hidden = !original;
          if (original) element.setAttribute('href', original);
          else element.removeAttribute('href');
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
        pswp.on('change', function () {
          var caption = pswp.currSlide.data.caption || '';
          element.textContent = caption;
          element.hidden = caption === '';
        });
      }
    });
  });

  lightbox.on('change', function () {
    var slide = lightbox.pswp && lightbox.pswp.currSlide;
    if (slide && slide.data.number) setAddressEnding('#p' + slide.data.number);
  });
  lightbox.on('close', function () {
    setAddressEnding('');
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
