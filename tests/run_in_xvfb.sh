#!/bin/sh
# Runs a command in a fresh Xvfb server of its own and ends the server after it.
# usage: run_in_xvfb.sh <screen, as WxHxD> <command> [argument ...]
# The server picks a free display number itself (-displayfd) and says it when it is ready, so
# servers started side by side never meet on one number, as those of `xvfb-run -a` can.
# The command gets the server's process id in XVFB_PID (a test may hold the server still).
set -u
screen=$1
shift
folder=$(mktemp -d "${TMPDIR:-/tmp}/run_in_xvfb.XXXXXX") || exit 1
Xvfb -displayfd 3 -nolisten tcp -screen 0 "$screen" 3> "$folder/display" 2> "$folder/xvfb.txt" &
server=$!
while [ ! -s "$folder/display" ]; do
  if ! kill -0 $server 2> /dev/null; then
    echo "Xvfb did not start:" >&2
    cat "$folder/xvfb.txt" >&2
    rm -rf "$folder"
    exit 1
  fi
  sleep 0.05
done
XVFB_PID=$server DISPLAY=":$(head -n 1 "$folder/display")" "$@"
result=$?
kill -CONT $server 2> /dev/null # a server left held still would not end
kill $server 2> /dev/null
wait $server 2> /dev/null
rm -rf "$folder"
exit $result
