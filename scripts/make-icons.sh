#!/usr/bin/env bash
# Regenerates the programs' icons (editor/res/tvledit.ico, engine/res/tvlengin.ico) and the
# picture of new menus (editor/res/stock_icon.ico) with convert.
#
# Each size is drawn on its own grid: the small ones with fewer, pixel-aligned parts, so that
# nothing is a scaled-down copy of the large picture. ImageMagick stores the 256-pixel image of
# an .ico PNG-compressed and the others as 32-bit bitmaps with alpha.
set -euo pipefail
cd "$(dirname "$0")/.."

work="$(mktemp -d)"
trap 'rm -rf -- "$work"' EXIT

# Colours shared by both icons.
edge='#6f7f94'   # sheet and menu border
text='#9aa6b6'   # a line of text
red='#e04848' green='#3a9a3a' blue='#3070d0' amber='#e0a020' yellow='#ffd24a' violet='#8a5cc8'
wood='#f2d2a0' body='#ffc21a' bodyShade='#d99a00' metal='#b9bec8' eraser='#f28a8a'
lead='#303030' ink='#4a3a20'

# The 16-pixel images are drawn pixel by pixel from a grid on stdin, one letter a colour.
declare -A palette=(
    [g]=$edge [w]='#ffffff' [Q]='#fbfbfb' [t]=$text [r]=$red [G]=$green [b]=$blue [B]=$blue
    [j]=$yellow [k]=$ink [y]=$body [Y]=$bodyShade [m]=$metal [e]=$eraser [d]=$wood [l]=$lead
    [X]='#000000' [o]='#ffffff'
)
grid_png() {
    local out=$1 row x y=0 c
    local -A points=()
    while IFS= read -r row; do
        for ((x = 0; x < ${#row}; x++)); do
            c=${row:x:1}
            [ "$c" = . ] || points[$c]+="point $x,$y "
        done
        y=$((y + 1))
    done
    local args=()
    for c in "${!points[@]}"; do
        args+=(-fill "${palette[$c]}" -draw "${points[$c]}")
    done
    convert -size 16x16 xc:none +antialias "${args[@]}" "$out"
}

# The editor: a sheet with a list of items (an icon and a line each) and a pencil over it.
editor_png() {
    local size=$1 out=$2
    case $size in
    256)
        local pen='translate 166,150 rotate -45'  # the pencil's axis: eraser up right
        convert -size 256x256 xc:none \
            \( -size 256x256 xc:none -fill 'rgba(0,0,0,0.35)' \
               -draw 'roundrectangle 42,26 206,242 14,14' -blur 0x5 \) -composite \
            -fill white -stroke "$edge" -strokewidth 5 -draw 'roundrectangle 34,18 198,234 14,14' \
            -stroke none \
            -fill "$red" -draw 'roundrectangle 58,48 84,74 4,4' \
            -fill "$green" -draw 'roundrectangle 58,92 84,118 4,4' \
            -fill "$blue" -draw 'roundrectangle 58,136 84,162 4,4' \
            -fill "$amber" -draw 'roundrectangle 58,180 84,206 4,4' \
            -fill "$text" -draw 'roundrectangle 98,55 174,67 6,6' \
            -draw 'roundrectangle 98,99 164,111 6,6' -draw 'roundrectangle 98,143 170,155 6,6' \
            -draw 'roundrectangle 98,187 150,199 6,6' \
            -stroke "$ink" -strokewidth 4 \
            -fill "$wood" -draw "$pen polygon -92,0 -52,-20 -52,20" \
            -fill "$body" -draw "$pen rectangle -52,-20 48,20" \
            -fill "$bodyShade" -stroke none \
            -draw "$pen rectangle -50,8 46,18" \
            -stroke "$ink" -fill none -draw "$pen rectangle -52,-20 48,20" \
            -fill "$metal" -draw "$pen rectangle 48,-20 64,20" \
            -fill "$eraser" -draw "$pen roundrectangle 64,-20 86,20 8,8" \
            -fill "$lead" -stroke none -draw "$pen polygon -94,0 -76,-9 -76,9" \
            "$out"
        ;;
    48)
        local pen='translate 31,28 rotate -45'
        convert -size 48x48 xc:none \
            \( -size 48x48 xc:none -fill 'rgba(0,0,0,0.30)' \
               -draw 'roundrectangle 8,5 38,46 3,3' -blur 0x1 \) -composite \
            -fill white -stroke "$edge" -strokewidth 1 \
            -draw 'roundrectangle 6.5,3.5 36.5,43.5 3,3' \
            -stroke none \
            -fill "$red" -draw 'rectangle 10,8 14,12' \
            -fill "$green" -draw 'rectangle 10,16 14,20' \
            -fill "$blue" -draw 'rectangle 10,24 14,28' \
            -fill "$amber" -draw 'rectangle 10,32 14,36' \
            -fill "$text" -draw 'rectangle 18,9 32,11' -draw 'rectangle 18,17 30,19' \
            -draw 'rectangle 18,25 31,27' -draw 'rectangle 18,33 27,35' \
            -stroke "$ink" -strokewidth 1 \
            -fill "$wood" -draw "$pen polygon -17,0 -10,-4 -10,4" \
            -fill "$body" -draw "$pen rectangle -10,-4 9,4" \
            -fill "$metal" -draw "$pen rectangle 9,-4 12,4" \
            -fill "$eraser" -draw "$pen rectangle 12,-4 16,4" \
            -fill "$lead" -stroke none -draw "$pen polygon -17.5,0 -14,-2 -14,2" \
            "$out"
        ;;
    32)
        local pen='translate 21,19 rotate -45'
        convert -size 32x32 xc:none \
            -fill white -stroke "$edge" -strokewidth 1 -draw 'rectangle 4,2 24,29' \
            -stroke none \
            -fill "$red" -draw 'rectangle 7,5 9,7' \
            -fill "$green" -draw 'rectangle 7,11 9,13' \
            -fill "$blue" -draw 'rectangle 7,17 9,19' \
            -fill "$amber" -draw 'rectangle 7,23 9,25' \
            -fill "$text" -draw 'rectangle 12,6 21,6' -draw 'rectangle 12,12 20,12' \
            -draw 'rectangle 12,18 21,18' -draw 'rectangle 12,24 18,24' \
            -stroke "$ink" -strokewidth 1 \
            -fill "$wood" -draw "$pen polygon -12,0 -7,-3 -7,3" \
            -fill "$body" -draw "$pen rectangle -7,-3 6,3" \
            -fill "$eraser" -draw "$pen rectangle 6,-3 10,3" \
            -fill "$lead" -stroke none -draw "$pen polygon -12.5,0 -10,-1.5 -10,1.5" \
            "$out"
        ;;
    16)
        # Pixel by pixel: the sheet, three items and a pencil on the diagonal.
        grid_png "$out" <<'EOF'
.ggggggggggg....
.gwwwwwwwwwg....
.gwrrwwwwwwg....
.gwrrwttttwg.kk.
.gwwwwwwwwwgkeek
.gwwwwwwwwwkmmek
.gwGGwwwwwkyymk.
.gwGGwtttkyyYk..
.gwwwwwwkyyYk...
.gwwwwwkdyYk....
.gwbbwwdddkg....
.gwbbwtldkwg....
.gwwwwwwwwwg....
.gwwwwwwwwwg....
.gwwwwwwwwwg....
.ggggggggggg....
EOF
        ;;
    esac
}

# The engine: a pop-up menu with one highlighted item and the pointer over it.
engine_png() {
    local size=$1 out=$2
    case $size in
    256)
        convert -size 256x256 xc:none \
            \( -size 256x256 xc:none -fill 'rgba(0,0,0,0.35)' -draw 'rectangle 30,26 214,232' \
               -blur 0x5 \) -composite \
            -fill '#fbfbfb' -stroke "$edge" -strokewidth 5 -draw 'rectangle 22,16 206,222' \
            -stroke none \
            -fill "$blue" -draw 'rectangle 30,72 198,118' \
            -fill "$red" -draw 'roundrectangle 40,32 68,60 4,4' \
            -fill "$yellow" -draw 'roundrectangle 40,81 68,109 4,4' \
            -fill "$green" -draw 'roundrectangle 40,130 68,158 4,4' \
            -fill "$violet" -draw 'roundrectangle 40,178 68,206 4,4' \
            -fill "$text" -draw 'roundrectangle 84,40 176,52 6,6' \
            -draw 'roundrectangle 84,138 164,150 6,6' -draw 'roundrectangle 84,186 170,198 6,6' \
            -fill white -draw 'roundrectangle 84,89 168,101 6,6' \
            -fill white -stroke black -strokewidth 5 \
            -draw 'stroke-linejoin round translate 150,96
                   polygon 0,0 0,104 26,80 42,116 60,108 44,72 78,72' \
            "$out"
        ;;
    48)
        convert -size 48x48 xc:none \
            \( -size 48x48 xc:none -fill 'rgba(0,0,0,0.30)' -draw 'rectangle 6,5 41,45' \
               -blur 0x1 \) -composite \
            -fill '#fbfbfb' -stroke "$edge" -strokewidth 1 -draw 'rectangle 4.5,3.5 38.5,42.5' \
            -stroke none \
            -fill "$blue" -draw 'rectangle 6,14 37,22' \
            -fill "$red" -draw 'rectangle 8,7 12,11' \
            -fill "$yellow" -draw 'rectangle 8,16 12,20' \
            -fill "$green" -draw 'rectangle 8,25 12,29' \
            -fill "$violet" -draw 'rectangle 8,34 12,38' \
            -fill "$text" -draw 'rectangle 16,8 32,10' -draw 'rectangle 16,26 30,28' \
            -draw 'rectangle 16,35 31,37' \
            -fill white -draw 'rectangle 16,17 31,19' \
            -fill white -stroke black -strokewidth 1 \
            -draw 'translate 28,18 polygon 0,0 0,19 5,15 8,21 11,20 8,14 14,14' \
            "$out"
        ;;
    32)
        convert -size 32x32 xc:none \
            -fill '#fbfbfb' -stroke "$edge" -strokewidth 1 -draw 'rectangle 2,2 26,29' \
            -stroke none \
            -fill "$blue" -draw 'rectangle 3,10 25,15' \
            -fill "$red" -draw 'rectangle 5,5 7,7' \
            -fill "$yellow" -draw 'rectangle 5,11 7,13' \
            -fill "$green" -draw 'rectangle 5,18 7,20' \
            -fill "$violet" -draw 'rectangle 5,24 7,26' \
            -fill "$text" -draw 'rectangle 10,6 22,6' -draw 'rectangle 10,19 20,19' \
            -draw 'rectangle 10,25 21,25' \
            -fill white -draw 'rectangle 10,12 21,12' \
            -fill white -stroke black -strokewidth 1 \
            -draw 'translate 19,12 polygon 0,0 0,13 3,10 5,15 7,14 5,9 9,9' \
            "$out"
        ;;
    16)
        # Pixel by pixel: three items, the middle one highlighted, the pointer on it.
        grid_png "$out" <<'EOF'
ggggggggggggg...
gQQQQQQQQQQQg...
gQrrQQQQQQQQg...
gQrrQttttttQg...
gQQQQQQQQQQQg...
gBBBBBBBBBBBg...
gBjjBBBBXBBBg...
gBjjBoooXXBBg...
gBBBBBBBXoXBg...
gQQQQQQQXooXg...
gQQQQQQQXoooX...
gQGGQtttXooooX..
gQGGQQQQXooXXXX.
ggggggggXoXXoX..
........XX.XoX..
........X...XX..
EOF
        ;;
    esac
}

# The picture of a new menu: a framed list, its middle item highlighted. Solid rectangles on a
# per-size grid; each line: frame, inside, band, three squares, two grey bars and the white bar.
stock_png() {
    local size=$1 out=$2 r
    case $size in
    16) r=(1,0,14,15 2,1,13,14 2,5,13,9 3,2,5,4 3,6,5,8 3,11,5,13 7,3,11,3 7,12,10,12 7,7,11,7) ;;
    24) r=(2,1,21,22 3,2,20,21 4,9,19,14 5,3,8,6 5,10,8,13 5,17,8,20 10,4,18,5 10,18,16,19
           10,11,18,12) ;;
    32) r=(3,2,28,29 4,3,27,28 5,13,26,18 6,6,10,10 6,14,10,17 6,21,10,25 13,7,25,9 13,22,22,24
           13,15,25,16) ;;
    48) r=(4,3,43,44 6,5,41,42 8,18,39,29 10,8,17,15 10,20,17,27 10,32,17,39 21,10,37,13
           21,34,31,37 21,22,37,25) ;;
    256) r=(24,16,231,239 32,24,223,231 40,104,215,151 48,48,87,87 48,112,87,143 48,168,87,207
            104,56,207,79 104,176,183,199 104,120,207,135) ;;
    esac
    local colours=('#000080' white '#0a64c8' '#c00000' '#ffd000' '#008000' '#404040' '#404040'
                   white) args=() k c
    for k in "${!r[@]}"; do
        IFS=, read -ra c <<<"${r[k]}"
        args+=(-fill "${colours[k]}" -draw "rectangle ${c[0]},${c[1]} ${c[2]},${c[3]}")
    done
    convert -size "${size}x$size" xc:none +antialias "${args[@]}" "$out"
}

# Renders the sizes of one icon (default: 16 32 48 256) and packs them into an .ico file.
make_icon() {
    local draw=$1 out=$2 name size pngs=()
    shift 2
    name="$(basename "$out" .ico)"
    local sizes=("$@")
    [ ${#sizes[@]} -gt 0 ] || sizes=(16 32 48 256)
    for size in "${sizes[@]}"; do
        "$draw" "$size" "$work/$name-$size.png"
        pngs+=("$work/$name-$size.png")
    done
    convert "${pngs[@]}" -depth 8 "$out"
    echo "wrote $out"
}

mkdir -p editor/res engine/res
make_icon editor_png editor/res/tvledit.ico
make_icon engine_png engine/res/tvlengin.ico
# Every size the shell asks a file's icon for.
make_icon stock_png editor/res/stock_icon.ico 16 24 32 48 256
