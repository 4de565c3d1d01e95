// The web shim's JavaScript half, run before the game's program starts: pictures that come as
// WebP stand in for the BMPs of the same name, and blits into pictures off the screen skip the
// browser SDL's read-back.

// A full-window picture comes as a lossless WebP file beside its BMP name; decoded here while
// the data loads, it is what loading the BMP finds.
Module['preloadPlugins'] = Module['preloadPlugins'] || [];
Module['preloadPlugins'].push({
  'canHandle': function(name) {
    return /\.webp$/i.test(name);
  },
  'handle': function(bytes, name, onload, onerror) {
    var url = URL.createObjectURL(new Blob([bytes], {type: 'image/webp'}));
    var image = new Image();
    image.onload = function() {
      var canvas = document.createElement('canvas');
      canvas.width = image.width;
      canvas.height = image.height;
      canvas.getContext('2d').drawImage(image, 0, 0);
      Module['preloadedImages'][name.replace(/\.webp$/i, '.bmp')] = canvas;
      URL.revokeObjectURL(url);
      if (onload) onload(bytes);
    };
    image.onerror = function() {
      URL.revokeObjectURL(url);
      err('The picture ' + name + ' cannot be decoded');
      if (onerror) onerror();
    };
    image.src = url;
  }
});

// The browser SDL's blit reads a whole picture back into memory after every draw into it: a
// level's backdrop and layers, composed of hundreds of draws, took most of a second. The game
// locks a picture before it reads its pixels, and locking reads them afresh, so the read-back
// is dropped. The game clips every draw itself before it blits.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  SDL.blitSurface = function(src, srcrect, dst, dstrect) {
    var from = SDL.surfaces[src], to = SDL.surfaces[dst];
    var part = srcrect ? SDL.loadRect(srcrect) : {x: 0, y: 0, w: from.width, h: from.height};
    var at = dstrect ? SDL.loadRect(dstrect) : {x: 0, y: 0};
    if (part.w > 0 && part.h > 0)
      to.ctx.drawImage(from.canvas, part.x, part.y, part.w, part.h, at.x, at.y, part.w, part.h);
    return 0;
  };
});

// ---- The player's own files (settings, progress) live in the browser's IndexedDB: the XDG
// folders point into a folder kept there, read back before the game starts and written out
// after every file the game replaces there (each of its writes ends in a rename) or removes.
var PLAYER_HOME = '/home/player';
Module['preRun'].push(function() {
  // The replay tool keeps no files: it is built without the storage.
  if (typeof IDBFS === 'undefined')
    return;
  ENV['XDG_CONFIG_HOME'] = PLAYER_HOME + '/config';
  ENV['XDG_DATA_HOME'] = PLAYER_HOME + '/data';
  ENV['XDG_STATE_HOME'] = PLAYER_HOME + '/state';
  FS.mkdirTree(PLAYER_HOME);
  FS.mount(IDBFS, {}, PLAYER_HOME);
  addRunDependency('player-files');
  FS.syncfs(true, function(error) {
    if (error)
      err('Your settings and progress cannot be read from this browser\'s storage: ' + error);
    removeRunDependency('player-files');
  });
  var saving = false, again = false;
  Module['savedToStorage'] = 0;
  function save() {
    if (saving) {
      again = true;
      return;
    }
    saving = true;
    FS.syncfs(false, function(error) {
      if (error)
        err('Your settings and progress cannot be kept in this browser\'s storage: ' + error);
      else
        Module['savedToStorage']++;
      saving = false;
      if (again) {
        again = false;
        save();
      }
    });
  }
  function changed(path) {
    if (typeof path === 'string' && path.indexOf(PLAYER_HOME + '/') === 0)
      setTimeout(save, 0);
  }
  var rename = FS.rename, unlink = FS.unlink;
  FS.rename = function(from, to) {
    rename.call(FS, from, to);
    changed(to);
  };
  FS.unlink = function(path) {
    unlink.call(FS, path);
    changed(path);
  };
  document.addEventListener('visibilitychange', function() {
    if (document.hidden)
      save();
  });
});

// ---- Sound: a browser lets a page's audio start only after the player's first key, click or
// touch. The game opens its audio before that; each of these starts it if it waits.
['keydown', 'mousedown', 'pointerdown', 'touchend'].forEach(function(type) {
  window.addEventListener(type, function() {
    if (typeof SDL !== 'undefined' && SDL.audioContext && SDL.audioContext.state === 'suspended')
      SDL.audioContext.resume();
  }, true);
});

// ---- Fullscreen is the browser's, of the canvas alone, in its own proportions; the screen's
// fullscreen flag follows what the page shows, however the player entered or left it.
document.addEventListener('fullscreenchange', function() {
  if (typeof _webShowsFullscreen === 'function')
    _webShowsFullscreen(document.fullscreenElement === Module['canvas'] ? 1 : 0);
});
Module['preRun'].push(function() {
  // The browser starts a page in its window whatever the settings say: it enters fullscreen
  // only at a player's key or click.
  var makeSurface = SDL.makeSurface;
  SDL.makeSurface = function(width, height, flags, usePageCanvas) {
    var args = Array.prototype.slice.call(arguments);
    if (usePageCanvas && !document.fullscreenElement)
      args[2] = (flags || 0) & ~0x00800000;  // SDL_FULLSCREEN
    return makeSurface.apply(SDL, args);
  };
});

// ---- Gamepads: a pad with the browser's standard layout is shown to the game as the usual
// numbering of such a pad natively: Start is button 7, and the D-pad (buttons 12 to 15 here)
// is the hat. The game reads the hat and the left stick as the same arrows, the hat first;
// so here the D-pad, while pressed, stands in the stick's place.
Module['preRun'].push(function() {
  var browserPads = SDL.getGamepads;
  function pressed(button) {
    return typeof button === 'object' ? button.pressed : button > 0;
  }
  function asNative(pad) {
    if (!pad || pad.mapping !== 'standard')
      return pad;
    var buttons = Array.prototype.slice.call(pad.buttons);
    var start = buttons[9];
    buttons[9] = buttons[7];
    buttons[7] = start;
    var axes = Array.prototype.slice.call(pad.axes);
    var across = pressed(buttons[14]) ? -1 : pressed(buttons[15]) ? 1 : 0;
    var upDown = pressed(buttons[12]) ? -1 : pressed(buttons[13]) ? 1 : 0;
    if (across !== 0)
      axes[0] = across;
    if (upDown !== 0)
      axes[1] = upDown;
    return {id: pad.id, index: pad.index, mapping: pad.mapping, timestamp: pad.timestamp,
            connected: pad.connected, buttons: buttons, axes: axes};
  }
  SDL.getGamepads = function() {
    return Array.prototype.map.call(browserPads.call(SDL) || [], asNative);
  };
});
