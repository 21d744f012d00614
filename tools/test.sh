#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$REPO_DIR/tools/cups-pdf-queue.sh"
PACKAGES+=("${CUPS_PACKAGES[@]}")
install_missing
build_all
trap stop_cups_pdf_queue EXIT
start_cups_pdf_queue
cd "$BUILD_DIR"
ctest --output-on-failure -j2
