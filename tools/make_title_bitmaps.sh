#!/bin/sh
# Draws the page title banners: coloured italic lettering on black, 256-colour BMPs.
# Run from the repository root: tools/make_title_bitmaps.sh
set -eu
FONT=${TITLE_FONT:-/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf}
OUT=${1:-res}

banner() { # file width height colour shadow text
  file=$1 w=$2 h=$3 colour=$4 shadow=$5 text=$6
  tw=$((w - 4)) th=$((h - 4))
  convert -size "${w}x${h}" xc:black \
    \( -background none -fill "$shadow" -font "$FONT" -size "${tw}x${th}" -gravity center label:"$text" \) \
    -gravity center -geometry +1+1 -composite \
    \( -background none -fill "$colour" -font "$FONT" -size "${tw}x${th}" -gravity center label:"$text" \) \
    -gravity center -geometry +0+0 -composite \
    -alpha off -type Palette -colors 256 -compress none "BMP3:$OUT/$file"
}

banner title_font_image.bmp        103 28 '#FFE000' '#604000' 'Font Image'
banner title_memory_config.bmp     200 23 '#FF3030' '#601010' 'Memory Configaration'
banner title_parameter_table.bmp   150 23 '#4070FF' '#102060' 'Parameter Table'
banner title_rom_signature.bmp     130 25 '#30E030' '#105010' 'ROM Signature'
banner title_sign_on_string.bmp    140 25 '#C050FF' '#401060' 'Sign-On String'
banner title_sub_vendor_id.bmp     139 22 '#20F0F0' '#105050' 'Sub Vendor ID'
