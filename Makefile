# The two commands of the README: `make play` and `make test`.
.PHONY: play test build deps

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build build -j $$(nproc)

play: build
	./build/skarlume

test: deps
	scripts/test.sh
