#!/usr/bin/env bash
# Runs a test program of the sanitizer build, and runs it once more when it
# failed only because LeakSanitizer's own stop-the-world tracer crashed at
# exit ("Tracer caught signal 11 ... LeakSanitizer has encountered a fatal
# error"): a known fault of the sanitizer, seen about once in two dozen full
# runs while the GL driver's threads wind down, not a finding about our code.
# Every other failure, and a real leak report, stands as it is.
err=$(mktemp)
trap 'rm -f "$err"' EXIT
"$@" 2> >(tee "$err" >&2)
status=$?
wait $! 2>/dev/null
if [ "$status" -ne 0 ] && grep -q "Tracer caught signal" "$err" &&
   grep -q "LeakSanitizer has encountered a fatal error" "$err" &&
   ! grep -q "\[  FAILED  \]" "$err" && ! grep -q "detected memory leaks" "$err"; then
  echo "sanitizer_retry: the leak checker's tracer crashed, not the test; running it once more" >&2
  "$@"
  status=$?
fi
exit "$status"
