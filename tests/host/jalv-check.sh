#!/usr/bin/env bash
# Runs Orvo's LV2 bundle in jalv, a host not built on JUCE, on a private JACK server
# with the dummy backend: a metronome feeds its input and its output is recorded.
# Fails unless the plug-in loads, processes audio to a non-silent recording and
# jalv exits cleanly.
#   jalv-check.sh PATH/TO/Orvo.lv2
set -uo pipefail

bundle="$1"
uri="https://kolbrith.com/plugins/orvo"
work="$(mktemp -d)"
export JACK_DEFAULT_SERVER="orvo-check-$$"
export HOME="$work" XDG_CONFIG_HOME="$work/config" LV2_PATH="$work/lv2"
export ORVO_FACTORY_PRESET_DIR="$work/no-factory-library"
mkdir -p "$work/lv2"
ln -s "$bundle" "$work/lv2/Orvo.lv2"

pids=()
cleanup()
{
    exec 3>&- 2>/dev/null
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    sleep 1
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -f /dev/shm/jack_"$JACK_DEFAULT_SERVER"_* /dev/shm/jack_sem.*_"$JACK_DEFAULT_SERVER"_* 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail()
{
    echo "jalv-check: $*" >&2
    for log in "$work"/*.log; do echo "--- $(basename "$log")"; cat "$log"; done >&2
    exit 1
}

# Servers that died without unregistering stay in JACK's shared registry, and JACK
# refuses to start more than a few. With no server running at all, it is all stale.
if ! pgrep -x jackd >/dev/null && ! pgrep -x jackdbus >/dev/null; then
    rm -f /dev/shm/jack-shm-registry /dev/shm/jack_orvo-check-* /dev/shm/jack_sem.*_orvo-check-* 2>/dev/null
fi

jackd --no-realtime -d dummy -r 48000 -p 512 >"$work/jackd.log" 2>&1 &
pids+=($!)
jack_wait -w -t 10 >/dev/null 2>&1 || fail "the JACK server did not start"

# jalv runs until its standard input closes.
mkfifo "$work/stdin"
jalv -n orvo-check "$uri" <"$work/stdin" >"$work/jalv.log" 2>&1 &
jalv_pid=$!
pids+=("$jalv_pid")
exec 3>"$work/stdin"

for _ in $(seq 50); do
    jack_lsp 2>/dev/null | grep -q "^orvo-check:audio_out_1$" && break
    kill -0 "$jalv_pid" 2>/dev/null || fail "jalv exited while loading the plug-in"
    sleep 0.2
done
jack_lsp 2>/dev/null | grep -q "^orvo-check:audio_out_1$" || fail "the plug-in's ports never appeared"

# Children must not inherit jalv's input, or it would never see it close.
jack_metro -b 240 -f 880 -a 0.5 -n metro >"$work/metro.log" 2>&1 3>&- &
pids+=($!)
for _ in $(seq 25); do jack_lsp 2>/dev/null | grep -q "^metro:" && break; sleep 0.2; done

metro="$(jack_lsp | grep '^metro:' | head -n 1)"
jack_connect "$metro" orvo-check:audio_in_1 3>&- || fail "cannot connect the metronome"
jack_connect "$metro" orvo-check:audio_in_2 3>&- || fail "cannot connect the metronome"

jack_rec -f "$work/out.wav" -d 2 -b 16 orvo-check:audio_out_1 orvo-check:audio_out_2 >"$work/rec.log" 2>&1 3>&- \
    || fail "recording the plug-in's output failed"

# The recording must hold sound: some 16-bit sample well away from zero.
loud="$(od -An -v -t d2 -j 44 "$work/out.wav" | tr -s ' ' '\n' | awk '($1 > 1000 || $1 < -1000) { n++ } END { print n + 0 }')"
[ "$loud" -gt 100 ] || fail "the recorded output is silent ($loud loud samples)"

exec 3>&-
for _ in $(seq 50); do kill -0 "$jalv_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$jalv_pid" 2>/dev/null && fail "jalv did not exit after its input closed"
wait "$jalv_pid"
status=$?
[ "$status" -eq 0 ] || fail "jalv exited with status $status"

echo "jalv-check: Orvo ran in jalv and processed audio ($loud loud samples in 2 s)"
