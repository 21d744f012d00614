#!/usr/bin/env bash
# A CUPS queue with a PDF back-end for test_cups_print: sourced by tools/test.sh after common.sh.
# Setting it up never fails the run: where it cannot be done, the test skips and says why.

CUPS_PACKAGES=(cups printer-driver-cups-pdf poppler-utils)
CUPS_QUEUE=KorvTestPDF
# cups-pdf reads the settings of the queue whose device is cups-pdf:/NAME from cups-pdf-NAME.conf.
CUPS_INSTANCE=korvtest
CUPS_INSTANCE_CONF=/etc/cups/cups-pdf-$CUPS_INSTANCE.conf
# Under cups-pdf's own spool folder, where confinement profiles let it write.
CUPS_OUTPUT=/var/spool/cups-pdf/korv-test
CUPS_STARTED_PID=""
CUPS_SET_UP=""

cups_note() {
  echo "CUPS print test: $*" >&2
}

cups_running() {
  [ "$(lpstat -r 2>/dev/null)" = "scheduler is running" ]
}

start_cups_daemon() {
  cups_running && return 0
  # In the foreground, so that its process is ours to end; sudo passes the signal on.
  if [ "$(id -u)" -eq 0 ]; then
    cupsd -f >/dev/null 2>&1 &
  else
    sudo -n cupsd -f >/dev/null 2>&1 &
  fi
  CUPS_STARTED_PID=$!
  for _ in $(seq 50); do
    cups_running && return 0
    [ -e "/proc/$CUPS_STARTED_PID" ] || break
    sleep 0.2
  done
  return 1
}

# Jobs from any user, root included, land in one folder the test can read and clean. cups-pdf is
# handed PostScript; made through cairo, the pages' text can still be read back.
add_cups_pdf_queue() {
  printf 'Out %s\nAnonDirName %s\n' "$CUPS_OUTPUT" "$CUPS_OUTPUT" | as_root tee "$CUPS_INSTANCE_CONF" >/dev/null &&
    as_root install -d -m 0755 -o "$(id -u)" "$CUPS_OUTPUT" &&
    as_root lpadmin -p "$CUPS_QUEUE" -v "cups-pdf:/$CUPS_INSTANCE" -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd \
      -o pdftops-renderer-default=pdftocairo -E 2>/dev/null
}

# Sets KORV_CUPS_QUEUE and KORV_CUPS_OUTPUT for the tests when the queue is ready.
start_cups_pdf_queue() {
  if [ "$(id -u)" -ne 0 ] && ! sudo -n true 2>/dev/null; then
    cups_note "skipped, setting up a queue needs root or sudo"; return 0
  fi
  if ! command -v cupsd >/dev/null || ! command -v lpadmin >/dev/null || [ ! -e /usr/lib/cups/backend/cups-pdf ]; then
    cups_note "skipped, cups or printer-driver-cups-pdf is not installed"; return 0
  fi
  if ! start_cups_daemon; then
    cups_note "skipped, cupsd does not start"; stop_cups_pdf_queue; return 0
  fi
  CUPS_SET_UP=yes
  if ! add_cups_pdf_queue; then
    cups_note "skipped, the queue cannot be added"; stop_cups_pdf_queue; return 0
  fi
  export KORV_CUPS_QUEUE="$CUPS_QUEUE" KORV_CUPS_OUTPUT="$CUPS_OUTPUT"
}

# Takes away what start_cups_pdf_queue set up, and only that.
stop_cups_pdf_queue() {
  if [ -n "$CUPS_SET_UP" ]; then
    as_root lpadmin -x "$CUPS_QUEUE" 2>/dev/null || true
    as_root rm -rf "$CUPS_INSTANCE_CONF" "$CUPS_OUTPUT" || true
    CUPS_SET_UP=""
  fi
  if [ -n "$CUPS_STARTED_PID" ]; then
    as_root kill "$CUPS_STARTED_PID" 2>/dev/null || true
    wait "$CUPS_STARTED_PID" 2>/dev/null || true
    CUPS_STARTED_PID=""
  fi
  unset KORV_CUPS_QUEUE KORV_CUPS_OUTPUT
}
