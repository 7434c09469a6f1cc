#!/bin/sh
# The Player under a virtual X server: plays a song with the "File" output and saves the
# screenshots (see PlayerUnderXvfb.cpp). Usage: ./player_under_xvfb.sh <quarvel_gui_player> [gtest arguments]
set -eu
exec "$(dirname "$0")/split_join_under_xvfb.sh" "$@"
