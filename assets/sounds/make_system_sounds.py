#!/usr/bin/env python3
"""Makes the systems module's sound folder files in systems/ beside this script.

    assets/sounds/make_system_sounds.py     (needs sox: apt-get install sox)

The systems module plays these from the "sound" folder under the host's working folder
(the build copies them to build/sound/):
- click.wav: the switch click, the same two clacks as the instrument module's click.
- primer.wav: one primer stroke: a hiss of fuel rising and falling, 0.6 s.
- TARN_Warn.wav: the doors warning horn, a harsh two-tone buzz of 1.2 s, so that the
  restart 1.5 s after each start leaves a short gap.
- tarngyroon.wav: the gyros spinning up after the battery master goes on, a whine rising
  from 150 Hz to 1800 Hz over 3 s.
- tarngyroff.wav: the gyros running down, the whine falling and fading over 4 s.

All are PCM mono 16-bit 22050 Hz with an 18-byte "fmt " chunk and then "data", made the
same way on every run.
"""
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "systems")
sys.path.insert(0, HERE)
import make_sounds  # noqa: E402  (the click and the WAVE writer)

RATE = 22050


def sox_samples(folder, *effects_and_synth):
    """Raw signed 16-bit mono samples made by `sox -n` with the given synth and effects."""
    raw = os.path.join(folder, "out.raw")
    subprocess.run(["sox", "-D", "-R", "-n", "-r", str(RATE), "-c", "1", "-b", "16", "-e", "signed-integer",
                    "-t", "raw", raw, *effects_and_synth], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.PIPE)
    with open(raw, "rb") as f:
        return f.read()


def main():
    os.makedirs(OUT, exist_ok=True)
    sounds = {}
    sounds["click.wav"] = make_sounds.click()
    with tempfile.TemporaryDirectory() as folder:
        sounds["primer.wav"] = sox_samples(
            folder, "synth", "0.6", "pinknoise", "band", "1800", "1200", "fade", "q", "0.15", "0.6", "0.3",
            "gain", "-n", "-6")
        sounds["TARN_Warn.wav"] = sox_samples(
            folder, "synth", "1.2", "square", "440", "square", "554", "lowpass", "3000", "fade", "t", "0.02",
            "1.2", "0.05", "gain", "-n", "-3")
        sounds["tarngyroon.wav"] = sox_samples(
            folder, "synth", "3", "sine", "150:1800", "sine", "300:3600", "remix", "-", "fade", "q", "0.5", "3",
            "0.3", "gain", "-n", "-9")
        sounds["tarngyroff.wav"] = sox_samples(
            folder, "synth", "4", "sine", "1800:120", "fade", "q", "0.05", "4", "3.5", "gain", "-n", "-9")
    for name, data in sounds.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(make_sounds.wave_file(RATE, 16, data))
        print("%-16s %6d bytes" % (name, len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
