#!/usr/bin/env bash
# Installs what is missing, builds, lays out the program directory and starts the program.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
build_all
cd "$BUILD_DIR/program"
exec ./korv "$@"
