#!/bin/sh
# Runs a window test program under a virtual X server, with the real X platform of Qt instead of
# the offscreen one: ./split_join_under_xvfb.sh <test program> [arguments]
set -eu
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
    env QT_QPA_PLATFORM=xcb QTWEBENGINE_DISABLE_SANDBOX=1 "$@"
