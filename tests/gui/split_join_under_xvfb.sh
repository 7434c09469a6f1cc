#!/bin/sh
# Runs a window test program under a virtual X server, with the real X platform of Qt instead of
# the offscreen one: ./split_join_under_xvfb.sh <test program> [arguments]
# XVFB_SCREEN sets the screen (default 1280x1024x24).
set -eu
exec xvfb-run -a -s "-screen 0 ${XVFB_SCREEN:-1280x1024x24}" \
    env QT_QPA_PLATFORM=xcb QTWEBENGINE_DISABLE_SANDBOX=1 "$@"
