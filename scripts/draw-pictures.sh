#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the window's pictures into assets/pictures/, each at 1x and at 2x (name@2x.png), from
# the vector drawings below: every size is drawn, none is scaled from another, so both are sharp.
# The PNG files are kept in the repository; run this only after changing a drawing.
# Needs ImageMagick.
set -eu
out="$(cd "$(dirname "$0")/.." && pwd)/assets/pictures"
mkdir -p "$out"

# draw NAME WIDTH HEIGHT MVG: the drawing in a WIDTH x HEIGHT grid, at both scales.
draw() {
  local name=$1 width=$2 height=$3 mvg=$4 scale suffix
  for scale in 1 2; do
    suffix=""
    [ "$scale" = 2 ] && suffix="@2x"
    convert -size "$((width * scale))x$((height * scale))" xc:none -draw "scale $scale,$scale $mvg" \
      -strip "PNG32:$out/$name$suffix.png"
  done
}

# A memory stick: green board, four black chips, gold contacts.
draw memory 16 16 "
  stroke #1b4d2e stroke-width 1 fill #2e9b5a rectangle 0.5,4.5 15.5,11.5
  stroke none fill #1a1a1a rectangle 2,6 4,9 rectangle 5,6 7,9 rectangle 9,6 11,9 rectangle 12,6 14,9
  fill #e8c040 rectangle 2,12 3,14 rectangle 5,12 6,14 rectangle 8,12 9,14 rectangle 11,12 12,14"

# A processor: dark package with a light die and pins on every side.
draw processor 16 16 "
  stroke #808080 stroke-width 1
  line 5.5,0.5 5.5,2.5 line 8.5,0.5 8.5,2.5 line 11.5,0.5 11.5,2.5
  line 5.5,13.5 5.5,15.5 line 8.5,13.5 8.5,15.5 line 11.5,13.5 11.5,15.5
  line 0.5,5.5 2.5,5.5 line 0.5,8.5 2.5,8.5 line 0.5,11.5 2.5,11.5
  line 13.5,5.5 15.5,5.5 line 13.5,8.5 15.5,8.5 line 13.5,11.5 15.5,11.5
  stroke #202020 fill #4a4a5a rectangle 2.5,2.5 13.5,13.5
  stroke #30303a fill #c8c8d8 rectangle 5.5,5.5 10.5,10.5"

# A lightning bolt: a recovery run.
draw optimise 16 16 "
  stroke #8a5a00 stroke-width 1 fill #ffd22e stroke-linejoin round
  polygon 9.5,0.5 2.5,9.5 7,9.5 5.5,15.5 13.5,6 9,6 11.5,0.5"

# A red disc with a white cross: cancel, and an unsupported feature.
draw cancel 16 16 "
  stroke #8c1414 stroke-width 1 fill #e03c3c circle 8,8 8,1.5
  stroke white stroke-width 2 stroke-linecap round line 5.5,5.5 10.5,10.5 line 10.5,5.5 5.5,10.5"

# A green tick: a supported feature.
draw tick 16 16 "
  stroke #1d6b1d stroke-width 3 stroke-linecap round stroke-linejoin round fill none
  polyline 3,8.5 6.5,12 13,4"

# The power sign: quit.
draw quit 16 16 "
  stroke #b02020 stroke-width 2 fill none stroke-linecap round
  arc 2.5,2.5 13.5,13.5 -55,235
  line 8,1.5 8,7.5"

# A floppy disk: save.
draw save 16 16 "
  stroke #1c2f6e stroke-width 1 fill #3458c0 polygon 1.5,1.5 12.5,1.5 14.5,3.5 14.5,14.5 1.5,14.5
  stroke none fill white rectangle 4,2 11,7
  fill #9aa6c8 rectangle 5,10 11,14 fill #3458c0 rectangle 9,11 10,13"

# Two green arrows chasing each other: refresh.
draw refresh 16 16 "
  stroke #1f7a1f stroke-width 2 fill none
  arc 2.5,2.5 13.5,13.5 200,330
  arc 2.5,2.5 13.5,13.5 20,150
  stroke none fill #1f7a1f
  polygon 14.5,3 14.5,8.5 9.5,6.5
  polygon 1.5,13 1.5,7.5 6.5,9.5"

# A newspaper: the news window.
draw news 16 16 "
  stroke #505050 stroke-width 1 fill white rectangle 1.5,2.5 14.5,13.5
  stroke none fill #2a60c0 rectangle 3,4 13,6
  fill #808080 rectangle 3,8 7,9 rectangle 3,10 7,11 rectangle 3,12 7,12
  fill #b0b0b0 rectangle 9,8 13,12"

# A window with its title bar: bring the window back.
draw open 16 16 "
  stroke #20407a stroke-width 1 fill white rectangle 1.5,2.5 14.5,13.5
  stroke none fill #2a60c0 rectangle 2,3 14,5
  fill white rectangle 12,3.5 13,4.5"

# The "about" sign, 32 x 32.
draw about 32 32 "
  stroke #173d80 stroke-width 1 fill #2f6fd0 circle 16,16 16,1.5
  stroke none fill white circle 16,8.5 16,6.5
  rectangle 13,13 18,25 rectangle 11,13 13,15 rectangle 11,24 21,26"

# The 32 x 32 icons of the "Informations" lines, top to bottom, and of the "Processeur" page.
# The system: a gear.
draw system 32 32 "
  push graphic-context translate 16,16 stroke #2f3f5f stroke-width 1 fill #7f93b8
  rectangle -3,-15 3,-8 push graphic-context rotate 45 rectangle -3,-15 3,-8 pop graphic-context
  push graphic-context rotate 90 rectangle -3,-15 3,-8 pop graphic-context
  push graphic-context rotate 135 rectangle -3,-15 3,-8 pop graphic-context
  push graphic-context rotate 180 rectangle -3,-15 3,-8 pop graphic-context
  push graphic-context rotate 225 rectangle -3,-15 3,-8 pop graphic-context
  push graphic-context rotate 270 rectangle -3,-15 3,-8 pop graphic-context
  push graphic-context rotate 315 rectangle -3,-15 3,-8 pop graphic-context
  circle 0,0 0,-10.5 stroke #2f3f5f fill #e8ecf4 circle 0,0 0,-4.5 pop graphic-context"

# The computer: a screen on its stand.
draw computer 32 32 "
  stroke #303030 stroke-width 1 fill #d8d8d0 rectangle 2.5,3.5 29.5,23.5
  fill #2a60c0 stroke #1c3f80 rectangle 5.5,6.5 26.5,20.5
  stroke none fill #7fb0ff polygon 6,7 18,7 6,15
  stroke #303030 fill #b8b8b0 rectangle 13.5,23.5 18.5,26.5 rectangle 8.5,26.5 23.5,29.5"

# The user: head and shoulders.
draw user 32 32 "
  stroke #1c3f80 stroke-width 1 fill #3a78d8 path 'M 4.5,30.5 C 4.5,21 9,18.5 16,18.5 C 23,18.5 27.5,21 27.5,30.5 Z'
  stroke #8a5a30 fill #f2c79a circle 16,10 16,2.5"

# The network: a globe with its meridians and parallels.
draw network 32 32 "
  stroke #14602a stroke-width 1 fill #3fae5e circle 16,16 16,1.5
  fill none stroke #d8f5df ellipse 16,16 6,14.5 0,360 line 16,1.5 16,30.5
  line 1.5,16 30.5,16 path 'M 4,8.5 Q 16,13 28,8.5' path 'M 4,23.5 Q 16,19 28,23.5'"

# The disks: a hard disk with its platter and arm.
draw disks 32 32 "
  stroke #404048 stroke-width 1 fill #a8acb8 rectangle 3.5,2.5 28.5,29.5
  fill #dfe3ee stroke #606470 circle 16,14 16,4.5
  fill #606470 stroke none circle 16,14 16,12
  stroke #303038 stroke-width 2 stroke-linecap round line 26,25 18,15.5
  stroke none fill #30c040 rectangle 6,25 9,27"

# The memory: a stick with its chips and contacts.
draw memory32 32 32 "
  stroke #1b4d2e stroke-width 1 fill #2e9b5a rectangle 0.5,8.5 31.5,23.5
  stroke none fill #1a1a1a rectangle 3,11 8,18 rectangle 10,11 15,18 rectangle 17,11 22,18 rectangle 24,11 29,18
  fill #e8c040 rectangle 3,20 4,23 rectangle 7,20 8,23 rectangle 11,20 12,23 rectangle 15,20 16,23
  rectangle 19,20 20,23 rectangle 23,20 24,23 rectangle 27,20 28,23
  fill #ffffff rectangle 14,23 17,24"

# The processor: a package with pins on every side and its die.
draw processor32 32 32 "
  stroke #808080 stroke-width 1
  line 8.5,0.5 8.5,4.5 line 12.5,0.5 12.5,4.5 line 16.5,0.5 16.5,4.5 line 20.5,0.5 20.5,4.5 line 24.5,0.5 24.5,4.5
  line 8.5,27.5 8.5,31.5 line 12.5,27.5 12.5,31.5 line 16.5,27.5 16.5,31.5 line 20.5,27.5 20.5,31.5 line 24.5,27.5 24.5,31.5
  line 0.5,8.5 4.5,8.5 line 0.5,12.5 4.5,12.5 line 0.5,16.5 4.5,16.5 line 0.5,20.5 4.5,20.5 line 0.5,24.5 4.5,24.5
  line 27.5,8.5 31.5,8.5 line 27.5,12.5 31.5,12.5 line 27.5,16.5 31.5,16.5 line 27.5,20.5 31.5,20.5 line 27.5,24.5 31.5,24.5
  stroke #202020 fill #4a4a5a rectangle 4.5,4.5 27.5,27.5
  stroke #30303a fill #c8c8d8 rectangle 10.5,10.5 21.5,21.5
  stroke none fill #8a8aa0 rectangle 13,13 19,19"

# The banner of the "A propos de..." page, 300 x 100: a memory stick on a blue ground, the name.
for scale in 1 2; do
  suffix=""
  [ "$scale" = 2 ] && suffix="@2x"
  convert -size "$((300 * scale))x$((100 * scale))" gradient:'#0d2f6e-#3f86d8' -rotate 0 \
    -draw "scale $scale,$scale
      stroke #0a1f48 stroke-width 1 fill #2e9b5a rectangle 14.5,34.5 84.5,65.5
      stroke none fill #1a1a1a rectangle 20,40 31,56 rectangle 36,40 47,56 rectangle 52,40 63,56 rectangle 68,40 79,56
      fill #e8c040 rectangle 20,60 22,65 rectangle 27,60 29,65 rectangle 34,60 36,65 rectangle 41,60 43,65
      rectangle 48,60 50,65 rectangle 55,60 57,65 rectangle 62,60 64,65 rectangle 69,60 71,65 rectangle 76,60 78,65
      fill #ffd22e stroke #8a5a00 polygon 52.5,22.5 40.5,52.5 49,52.5 45.5,78.5 62.5,44 54,44 59.5,22.5" \
    -font DejaVu-Sans-Bold -fill white -pointsize $((25 * scale)) -annotate +$((98 * scale))+$((52 * scale)) 'Mnemora XP' \
    -font DejaVu-Sans -fill '#d8e6ff' -pointsize $((12 * scale)) -annotate +$((99 * scale))+$((74 * scale)) 'La mémoire rendue au système' \
    -strip "PNG32:$out/banner$suffix.png"
done
