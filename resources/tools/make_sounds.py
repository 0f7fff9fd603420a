#!/usr/bin/python3
"""Writes the program's default sounds (resources/sounds/*.wav): short soft tones, 16-bit mono.

Each note is a sine with a little second harmonic under a quick attack and an exponential
decay, so the tones are gentle on laptop speakers. Run from the source tree's root.
"""
import math
import struct
import wave

RATE = 16000


def note(frequency, seconds, volume=0.35):
    samples = []
    count = int(RATE * seconds)
    for i in range(count):
        t = i / RATE
        attack = min(1.0, t / 0.006)
        decay = math.exp(-t * 9.0)
        wave_value = math.sin(2 * math.pi * frequency * t) + 0.2 * math.sin(
            4 * math.pi * frequency * t)
        samples.append(volume * attack * decay * wave_value / 1.2)
    return samples


def write(name, notes):
    samples = []
    for frequency, seconds in notes:
        samples.extend(note(frequency, seconds))
    with wave.open("resources/sounds/" + name, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(
            struct.pack("<h", int(max(-1.0, min(1.0, s)) * 32767)) for s in samples))


write("orvikenter.wav", [(659.25, 0.09), (987.77, 0.14)])    # E5 then B5: rising
write("orvikexit.wav", [(987.77, 0.09), (659.25, 0.14)])     # B5 then E5: falling
write("orvikmessage.wav", [(1318.5, 0.06), (1318.5, 0.12)])  # two quick E6 blips
