# The web tests come later.
