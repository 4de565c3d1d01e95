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
