#!/usr/bin/env python3
"""Makes the instrument module's WAVE resources in this folder.

    assets/sounds/make_sounds.py        (needs espeak-ng and sox: apt-get install espeak-ng sox)

- click.wav (resource 4130): the switch click, PCM mono 16-bit 22050 Hz, exactly 3828
  data bytes: two short decaying clacks, synthesised here from a fixed seed.
- callout_*.wav (3100 to 3230) and minimums.wav (3240): the radio altimeter's spoken
  callouts, PCM mono 8-bit 11025 Hz, each 3273 to 11322 data bytes (0.30 to 1.03 s):
  spoken by espeak-ng, trimmed of silence, sped up when too long, padded with silence when
  too short, normalised.

Every file is written as RIFF "WAVE" with an 18-byte "fmt " chunk (the format record the
module reads whole) followed by the "data" chunk, nothing else. The output is the same on
every run with the same espeak-ng and sox.
"""
import math
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))

CALLOUTS = [
    (3100, "callout_2500.wav", "twenty-five hundred"),
    (3110, "callout_1000.wav", "one thousand"),
    (3120, "callout_500.wav", "five hundred"),
    (3130, "callout_400.wav", "four hundred"),
    (3140, "callout_300.wav", "three hundred"),
    (3150, "callout_200.wav", "two hundred"),
    (3180, "callout_100.wav", "one hundred"),
    (3190, "callout_50.wav", "fifty"),
    (3200, "callout_40.wav", "forty"),
    (3210, "callout_30.wav", "thirty"),
    (3220, "callout_20.wav", "twenty"),
    (3230, "callout_10.wav", "ten"),
    (3240, "minimums.wav", "minimums"),
]
CALLOUT_RATE = 11025
CALLOUT_MIN_BYTES = 3273
CALLOUT_MAX_BYTES = 11322
# Aim a little inside the limits, so that rounding in sox cannot step over them.
CALLOUT_LONGEST = 11000

CLICK_RATE = 22050
CLICK_BYTES = 3828


def wave_file(rate, bits, data):
    """RIFF WAVE bytes: 18-byte PCM "fmt " chunk, then "data" (padded to an even size)."""
    block_align = bits // 8
    fmt = struct.pack("<HHIIHHH", 1, 1, rate, rate * block_align, block_align, bits, 0)
    pad = b"\0" if len(data) % 2 else b""
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data + pad
    return b"RIFF" + struct.pack("<I", len(body)) + body


def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def spoken(text, folder):
    """The text spoken, as raw unsigned 8-bit mono samples at the callout rate."""
    speech = os.path.join(folder, "speech.wav")
    trimmed = os.path.join(folder, "trimmed.wav")
    raw = os.path.join(folder, "out.raw")
    run("espeak-ng", "-v", "en-us", "-s", "185", "-p", "40", "-w", speech, text)
    run("sox", speech, trimmed, "silence", "1", "0.01", "1%", "reverse", "silence", "1", "0.01", "1%", "reverse")
    seconds = float(subprocess.run(["soxi", "-D", trimmed], check=True, capture_output=True, text=True).stdout)
    effects = []
    if seconds * CALLOUT_RATE > CALLOUT_LONGEST:
        effects += ["tempo", "-s", "%.4f" % (seconds * CALLOUT_RATE / CALLOUT_LONGEST)]
    effects += ["gain", "-n", "-1"]
    run("sox", trimmed, "-D", "-r", str(CALLOUT_RATE), "-c", "1", "-b", "8", "-e", "unsigned-integer", "-t", "raw",
        raw, *effects)
    with open(raw, "rb") as f:
        data = f.read()
    if len(data) < CALLOUT_MIN_BYTES:
        data += b"\x80" * (CALLOUT_MIN_BYTES + 200 - len(data))  # silence, for 8-bit samples
    data = data[:CALLOUT_LONGEST]
    assert CALLOUT_MIN_BYTES <= len(data) <= CALLOUT_MAX_BYTES, (text, len(data))
    return data


def click():
    """Two clacks of decaying filtered noise, 1914 signed 16-bit samples."""
    samples = CLICK_BYTES // 2
    seed = 0x2545F491
    out = []
    low = 0.0
    for n in range(samples):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        noise = seed / 0x3FFFFFFF - 1.0
        low += 0.35 * (noise - low)
        t = n / CLICK_RATE
        press = math.exp(-t / 0.004)
        release = math.exp(-(t - 0.035) / 0.006) * 0.6 if t >= 0.035 else 0.0
        thump = math.sin(2 * math.pi * 180 * t) * math.exp(-t / 0.01) * 0.5
        value = (low * (press + release) + thump) * 0.8
        out.append(max(-32767, min(32767, int(round(value * 32767)))))
    out[-1] = 0
    return struct.pack("<%dh" % samples, *out)


def main():
    with open(os.path.join(HERE, "click.wav"), "wb") as f:
        f.write(wave_file(CLICK_RATE, 16, click()))
    with tempfile.TemporaryDirectory() as folder:
        for _, name, text in CALLOUTS:
            data = spoken(text, folder)
            with open(os.path.join(HERE, name), "wb") as f:
                f.write(wave_file(CALLOUT_RATE, 8, data))
            print("%-18s %5d bytes  %s" % (name, len(data), text))
    return 0


if __name__ == "__main__":
    sys.exit(main())
