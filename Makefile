# Shortcuts for the README's two commands, scripts/play.sh and scripts/test.sh.
.PHONY: play test

play:
	scripts/play.sh

test:
	scripts/test.sh
