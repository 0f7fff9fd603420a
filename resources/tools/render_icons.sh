#!/usr/bin/env bash
# Renders the program icon (icons/org.orvik.Messenger.svg) to the PNG sizes desktops look for.
# The PNGs are committed; run this again after changing the drawing. Needs rsvg-convert
# (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../icons"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" org.orvik.Messenger.svg \
    -o "hicolor/${size}x${size}/apps/org.orvik.Messenger.png"
done
