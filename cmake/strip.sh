#!/bin/sh
# Strips as Debian's packaging does: the symbols, and the compiler's .comment and .note sections.
exec strip --remove-section=.comment --remove-section=.note "$@"
