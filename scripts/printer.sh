#!/usr/bin/env bash
# printer.sh start|stop|dir: the CUPS scheduler with a cups-pdf queue "PDF"
# that the Windows programs print to under Wine (Wine lists it and makes it
# the default printer). Jobs end up as PDF files in the folder that "dir"
# prints. start is idempotent: a running scheduler and an existing queue are
# kept (other test runs may use them); stop ends only a scheduler that this
# script started.
set -eu
state=${TMPDIR:-/tmp}/glimra-printer
mkdir -p "$state"

outdir() {
  # cups-pdf writes to ${HOME}/PDF of the job's user; for root jobs it may
  # fall back to its anonymous folder.
  local user_home
  user_home=$(getent passwd "$(id -un)" | cut -d: -f6)
  echo "${user_home:-$HOME}/PDF"
}

running() { lpstat -r 2>/dev/null | grep -q "is running"; }

case "${1:-start}" in
start)
  if ! running; then
    # In the foreground, detached: the forking start does not come up in
    # containers without an init system.
    setsid /usr/sbin/cupsd -f >/dev/null 2>&1 </dev/null &
    echo $! >"$state/ours"
    for _ in $(seq 100); do
      running && break
      sleep 0.1
    done
  fi
  if ! lpstat -p PDF >/dev/null 2>&1; then
    lpadmin -p PDF -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd
    lpadmin -d PDF
  fi
  cupsenable PDF >/dev/null 2>&1 || true
  cupsaccept PDF >/dev/null 2>&1 || true
  mkdir -p "$(outdir)"
  ;;
stop)
  if [ -f "$state/ours" ]; then
    pid=$(cat "$state/ours")
    rm -f "$state/ours"
    kill "$pid" 2>/dev/null || true
  fi
  ;;
dir)
  outdir
  ;;
*)
  echo "printer.sh: start|stop|dir" >&2
  exit 2
  ;;
esac
