#!/bin/sh
# interrupted_session.sh OCTAVE DIR SETUP LONG AFTER: runs an interactive
# Octave session (commands read from standard input, as typed) with DIR on
# the path: SETUP, then LONG, then AFTER. Once LONG has started, sends the
# session SIGINT, as Ctrl-C does, and prints the session's output followed by
# "seconds to the prompt: S", the time from the signal to the end of the
# session. A session that has not ended 60 s after the signal is killed and
# says so.
octave=$1 dir=$2 setup=$3 long=$4 after=$5
work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT
printf '%s\n' "addpath('$dir');" "$setup" "disp('started'); fflush(stdout); $long" \
  "$after" "exit" > "$work/in"
"$octave" --interactive --no-line-editing --no-history --no-gui --norc --quiet \
  < "$work/in" > "$work/out" 2>&1 &
pid=$!
# wait for LONG to start, then give it a second to be well under way
n=0
until grep -q started "$work/out" 2>/dev/null; do
  n=$((n + 1))
  if [ $n -gt 600 ]; then echo "never started"; cat "$work/out"; kill -KILL $pid; exit 1; fi
  sleep 0.1
done
sleep 1
kill -INT $pid
sent=$(date +%s.%N)
n=0
while kill -0 $pid 2>/dev/null; do
  n=$((n + 1))
  if [ $n -gt 600 ]; then echo "still running 60 s after SIGINT"; kill -KILL $pid; break; fi
  sleep 0.1
done
wait $pid
ended=$(date +%s.%N)
cat "$work/out"
awk -v a="$sent" -v b="$ended" 'BEGIN { printf "seconds to the prompt: %.2f\n", b - a }'
