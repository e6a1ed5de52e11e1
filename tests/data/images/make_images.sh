#!/usr/bin/env bash
# Makes the small test images of the image decoder tests with ImageMagick's `convert`.
# Run from anywhere; the files land next to this script. Every image is a few KB.
set -euo pipefail
cd "$(dirname "$0")"

# A colour picture with some structure, reused by most formats: 40 x 30 pixels.
base=(-size 40x30 gradient:red-blue -fill yellow -draw "rectangle 5,5 20,15")

# JPEG: baseline grey, RGB, CMYK (libjpeg adds the Adobe APP14 marker), progressive,
# and one with a JFIF density of 150 dpi.
convert "${base[@]}" -colorspace Gray -type Grayscale -quality 85 jpeg_gray.jpg
convert "${base[@]}" -quality 85 jpeg_rgb.jpg
convert "${base[@]}" -colorspace CMYK -quality 85 jpeg_cmyk.jpg
convert "${base[@]}" -interlace Plane -quality 85 jpeg_progressive.jpg
convert "${base[@]}" -units PixelsPerInch -density 150 -quality 85 jpeg_150dpi.jpg

# PNG: palette, grey, grey+alpha, RGB, RGBA, 16-bit RGB, palette with tRNS, RGB with tRNS,
# interlaced, 1-bit grey, and one with a pHYs of 300 dpi.
convert "${base[@]}" -colors 16 PNG8:png_palette.png
convert "${base[@]}" -colorspace Gray -define png:color-type=0 -depth 8 png_gray.png
convert "${base[@]}" -colorspace Gray -alpha set -channel A -fx "i/w" +channel \
  -define png:color-type=4 -depth 8 png_gray_alpha.png
convert "${base[@]}" PNG24:png_rgb.png
convert "${base[@]}" -alpha set -channel A -fx "j/h" +channel PNG32:png_rgba.png
convert -size 40x30 gradient:"#000000"-"#ffffff" -colorspace sRGB -depth 16 PNG48:png_16bit.png
convert "${base[@]}" -colors 16 -fill none -draw "color 0,0 floodfill" -transparent yellow \
  PNG8:png_palette_trns.png
convert "${base[@]}" -transparent yellow -define png:color-type=2 -define png:bit-depth=8 \
  png_rgb_trns.png
convert "${base[@]}" -interlace PNG PNG24:png_interlaced.png
convert "${base[@]}" -colorspace Gray -threshold 50% -define png:color-type=0 \
  -define png:bit-depth=1 png_gray_1bit.png
convert "${base[@]}" -units PixelsPerInch -density 300 PNG24:png_300dpi.png

# BMP: 1, 4, 8 bit palettes, 24 bit, and 32 bit with alpha.
convert "${base[@]}" -colors 2 -type Palette BMP3:bmp_1bit.bmp
convert "${base[@]}" -colors 16 -type Palette -compress None BMP3:bmp_4bit.bmp
convert "${base[@]}" -colors 200 -type Palette -compress None BMP3:bmp_8bit.bmp
convert "${base[@]}" -type TrueColor BMP3:bmp_24bit.bmp
convert "${base[@]}" -alpha set -channel A -fx "j/h" +channel -type TrueColorAlpha BMP:bmp_32bit.bmp

# GIF: plain, with a transparent colour, and an animation of two frames of different colour.
convert "${base[@]}" gif_plain.gif
convert "${base[@]}" -transparent yellow gif_transparent.gif
convert -size 20x10 xc:red xc:lime -loop 0 gif_animated.gif

# Not an image at all.
printf 'This is a text file, not an image.\n' > not_an_image.txt
