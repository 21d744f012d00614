#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
build_all
cd "$BUILD_DIR"
ctest --output-on-failure -j2
