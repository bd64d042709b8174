#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# An SVG plot of one lab run from its own samples ("sample MS MEMAVAILABLE_MB SWAPFREE_MB" lines
# of a scenario's output): MemAvailable and the swap in use, in MB, over the run's seconds.
# usage: bench/lab-plot.sh SCENARIO_OUTPUT > plot.svg
set -euo pipefail
awk '
  $1 == "figure" && $2 == "SwapFree_before" { swapTotal = $3 }
  $1 == "sample" { n++; t[n] = $2 / 1000; a[n] = $3; s[n] = $4; if ($3 > top) top = $3 }
  END {
    if (n < 2) exit 1
    if (swapTotal > top) top = swapTotal
    top = int(top / 200 + 1) * 200
    W = 640; H = 360; L = 60; R = 20; T = 30; B = 40
    w = W - L - R; h = H - T - B; span = t[n] > 0 ? t[n] : 1
    printf "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" font-family=\"sans-serif\" font-size=\"12\">\n", W, H
    printf "<rect width=\"%d\" height=\"%d\" fill=\"white\"/>\n", W, H
    for (v = 0; v <= top; v += 200) {
      y = T + h - v / top * h
      printf "<line x1=\"%d\" y1=\"%.1f\" x2=\"%d\" y2=\"%.1f\" stroke=\"#ddd\"/><text x=\"%d\" y=\"%.1f\" text-anchor=\"end\">%d</text>\n", L, y, L + w, y, L - 6, y + 4, v
    }
    step = span > 60 ? 20 : 10
    for (x = 0; x <= span; x += step)
      printf "<text x=\"%.1f\" y=\"%d\" text-anchor=\"middle\">%d s</text>\n", L + x / span * w, T + h + 18, x
    printf "<text x=\"%d\" y=\"18\">MB</text>\n", L - 40
    line("#1f6fb4", "MemAvailable", 0); line("#c0392b", "swap in use", 1)
    print "</svg>"
  }
  function line(colour, name, swap,   i, points, v) {
    points = ""
    for (i = 1; i <= n; i++) {
      v = swap ? swapTotal - s[i] : a[i]
      points = points sprintf("%.1f,%.1f ", L + t[i] / span * w, T + h - v / top * h)
    }
    printf "<polyline fill=\"none\" stroke=\"%s\" stroke-width=\"2\" points=\"%s\"/>\n", colour, points
    printf "<text x=\"%d\" y=\"%d\" fill=\"%s\">%s</text>\n", L + 10 + swap * 140, T - 10, colour, name
  }
' "$1"
