#!/usr/bin/env python3
"""Writes the three key-click sounds of Penvox into this folder.

    python3 make_sounds.py

classic.wav  a keyboard click: a short decaying noise burst over a low body
             knock, with a faint release click; 16-bit stereo, 44100 Hz
apple.wav    a crisp bite: a filtered click followed by a few crunchy grains;
             16-bit mono, 22050 Hz
drop.wav     a hollow water drop: a decaying sine that sweeps upward;
             16-bit mono, 22050 Hz

The files have fixed sizes (the player and the tests rely on them), peak at
about -6 dBFS and are silent after the first tenth of a second or so. The
random generator has a fixed seed, so every run writes the same bytes.
"""
import math
import os
import random
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
PEAK = 0.5  # -6 dBFS


def envelope(t, attack, decay):
    """A fast linear attack, then an exponential decay with time constant `decay`."""
    if t < attack:
        return t / attack
    return math.exp(-(t - attack) / decay)


def fade_out(t, start, end):
    """1 before `start`, a raised-cosine fade to 0 at `end`, 0 afterwards."""
    if t <= start:
        return 1.0
    if t >= end:
        return 0.0
    return 0.5 * (1 + math.cos(math.pi * (t - start) / (end - start)))


def normalise(channels):
    """Scales every channel by one factor so that the loudest sample reaches PEAK."""
    top = max(abs(s) for ch in channels for s in ch) or 1.0
    return [[s * PEAK / top for s in ch] for ch in channels]


class OnePole:
    """A one-pole low-pass filter; `highpass` gives the input minus the low-pass."""

    def __init__(self, cutoff, rate):
        self.a = math.exp(-2 * math.pi * cutoff / rate)
        self.y = 0.0

    def low(self, x):
        self.y = (1 - self.a) * x + self.a * self.y
        return self.y

    def high(self, x):
        return x - self.low(x)


def classic(rate, frames, rng):
    """Two channels of a mechanical key: the same strike, slightly different noise."""
    channels = []
    for pan in (0.92, 1.0):
        hp = OnePole(1800, rate)
        lp = OnePole(9000, rate)
        out = []
        for i in range(frames):
            t = i / rate
            noise = lp.low(hp.high(rng.uniform(-1, 1)))
            strike = noise * envelope(t, 0.0006, 0.0045)
            body = 0.45 * math.sin(2 * math.pi * 210 * t) * envelope(t, 0.0010, 0.012)
            # The key coming back up, 32 ms later and much softer.
            tr = t - 0.032
            release = 0.0
            if tr > 0:
                release = 0.35 * noise * envelope(tr, 0.0004, 0.003)
            out.append(pan * (strike + body + release) * fade_out(t, 0.07, 0.10))
        channels.append(out)
    return normalise(channels)


def apple(rate, frames, rng):
    """A bright click with a handful of short crunchy grains behind it."""
    grains = [(0.0, 1.0)] + [(rng.uniform(0.004, 0.055), rng.uniform(0.25, 0.6)) for _ in range(7)]
    hp = OnePole(2500, rate)
    lp = OnePole(7000, rate)
    out = []
    for i in range(frames):
        t = i / rate
        noise = lp.low(hp.high(rng.uniform(-1, 1)))
        level = 0.0
        for start, gain in grains:
            if t >= start:
                level += gain * envelope(t - start, 0.0003, 0.0025)
        level += 0.15 * envelope(t, 0.002, 0.02)  # the fleshy tail of the bite
        out.append(noise * level * fade_out(t, 0.075, 0.095))
    return normalise([out])


def drop(rate, frames, rng):
    """A sine whose pitch rises quickly, as a drop falling into water sounds."""
    out = []
    phase = 0.0
    for i in range(frames):
        t = i / rate
        freq = 550 + 900 * (1 - math.exp(-t / 0.018))
        phase += 2 * math.pi * freq / rate
        tone = math.sin(phase) + 0.25 * math.sin(2 * phase)
        splash = 0.08 * rng.uniform(-1, 1) * envelope(t, 0.0002, 0.0015)
        out.append((tone * envelope(t, 0.0015, 0.022) + splash) * fade_out(t, 0.08, 0.11))
    return normalise([out])


def write_wav(name, rate, channels, fmt_size):
    """A RIFF/WAVE file of 16-bit PCM. `fmt_size` 18 adds the (empty) cbSize field."""
    frames = len(channels[0])
    count = len(channels)
    data = bytearray()
    for i in range(frames):
        for ch in channels:
            sample = int(round(ch[i] * 32767))
            data += struct.pack('<h', max(-32768, min(32767, sample)))
    block = count * 2
    fmt = struct.pack('<HHIIHH', 1, count, rate, rate * block, block, 16)
    if fmt_size == 18:
        fmt += struct.pack('<H', 0)
    body = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', len(data)) + data
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(b'RIFF' + struct.pack('<I', len(body)) + body)
    return 8 + len(body)


def main():
    rng = random.Random(20170501)
    # (file, rate, frames, generator, fmt chunk size, expected file size)
    sounds = [
        ('classic.wav', 44100, 19456, classic, 18, 77870),
        ('apple.wav', 22050, 12289, apple, 16, 24622),
        ('drop.wav', 22050, 8193, drop, 16, 16430),
    ]
    for name, rate, frames, make, fmt_size, size in sounds:
        written = write_wav(name, rate, make(rate, frames, rng), fmt_size)
        if written != size:
            raise SystemExit(f'{name}: wrote {written} bytes, expected {size}')
        print(f'{name}: {written} bytes')


if __name__ == '__main__':
    main()
