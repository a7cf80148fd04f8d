#!/usr/bin/env bash
# Makes the chat client's sounds into chat/sounds: short tones, the same bytes
# on every run (sox from Debian, installed when missing). The results are
# checked in; the run command installs them below the suite folder as
# sounds\*.wav, where the chat client plays them.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v sox >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends sox >/dev/null
fi
out=chat/sounds
mkdir -p "$out"
# 22.05 kHz, 16 bits, mono, without dither, so that nothing varies.
tone() {  # tone NAME SYNTH-ARGUMENTS...
  local name=$1
  shift
  sox --no-dither -n -r 22050 -b 16 -c 1 -D "$out/$name.wav" synth "$@" fade q 0.01 -0 0.05
}
# A line from the server: one short high note.
tone receive 0.15 sine 1175
# A chat line shown: a softer note.
tone message1 0.15 sine 880
# The user's own line sent: a short low note.
tone send 0.1 sine 660
# An agent logged on: two rising notes.
tone adminLogon 0.3 sine 660:990
# A client logged on: two falling notes.
tone clientLogon 0.3 sine 990:660
ls -l "$out"
