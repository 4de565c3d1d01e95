# The two commands of the README: `make play` builds the game (drawing its pictures) and starts
# it here, beside images/ and levels/; `make test` builds and runs every test. Both first install
# whatever is missing.
.PHONY: play test build deps

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKARLUME_SANITIZE=OFF >/dev/null
	cmake --build build -j $$(nproc)

# Without a display SDL 1.2 would quietly fall back to drawing text art in the terminal.
play: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY$$SDL_VIDEODRIVER" ]; then \
		echo "make play: no display (DISPLAY is not set)" >&2; exit 1; fi
	./build/skarlume

test: deps
	scripts/test.sh
