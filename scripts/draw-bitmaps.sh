#!/usr/bin/env bash
# Draws every bitmap resource of the two plug-ins from scratch.
# Output is byte-for-byte reproducible, so rerunning only shows up in
# git when the drawing itself changed.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

# Threaded noise draws from per-thread generators, which breaks -seed.
export MAGICK_THREAD_LIMIT=1

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Resource compilers and LoadImage want plain BI_RGB files: no RLE, no alpha.
save_palette() { # in out
    convert "$1" -alpha off -dither FloydSteinberg -colors 256 \
        -type Palette -compress None "BMP3:$2"
}
save_truecolor() { # in out
    convert "$1" -alpha off -type TrueColor -compress None "BMP3:$2"
}

# A small LCG keeps star positions fixed without depending on the
# generator ImageMagick happens to ship.
rng=1
next() { rng=$(( (rng * 1103515245 + 12345) % 2147483648 )); r=$(( (rng >> 8) % $1 )); }

starfield() { # w h count seed out
    local w=$1 h=$2 n=$3 out=$5 dots="" glints="" i x y b
    rng=$4
    for (( i = 0; i < n; i++ )); do
        next "$w"; x=$r
        next "$h"; y=$r
        next 100; b=$(( 110 + r * 145 / 100 ))
        dots+="fill rgb($b,$b,$(( b < 215 ? b + 40 : 255 ))) point $x,$y "
        # One star in eight gets a soft halo so the field has depth.
        next 8
        if (( r == 0 )); then
            glints+="circle $x,$y $(( x + 1 )),$y "
        fi
    done
    convert -size "${w}x$h" xc:none -fill white -draw "$dots" \
        \( -size "${w}x$h" xc:none -fill '#bcd8ff' -draw "${glints:-point 0,0}" -blur 0x1.2 \) \
        -compose Screen -composite "$out"
}

space_background() { # w h seed out
    local w=$1 h=$2
    convert -size "${w}x$h" gradient:'#02030a-#0a1434' \
        \( -size "${w}x$h" xc:none -fill '#5a2a8a' \
           -draw "ellipse $(( w * 3 / 4 )),$(( h / 3 )) $(( w / 5 )),$(( h / 2 )) 0,360" \
           -fill '#1a4a8a' -draw "ellipse $(( w / 5 )),$(( h * 2 / 3 )) $(( w / 6 )),$(( h / 2 )) 0,360" \
           -blur 0x14 -channel A -evaluate multiply 0.45 +channel \) \
        -compose Screen -composite "$tmp/sky.png"
    starfield "$w" "$h" $(( w * h / 260 )) "$3" "$tmp/stars.png"
    convert "$tmp/sky.png" "$tmp/stars.png" -compose Screen -composite "$4"
}

text_mask() { # w h pointsize text out [y-offset]
    convert -size "$1x$2" xc:black -font "$font" -pointsize "$3" -fill white \
        -gravity center -annotate "+0+${6:-0}" "$4" "$5"
}

# Chrome: bright sky reflection above the horizon line, dark ground below.
chrome_text() { # w h pointsize text top-colours bottom-colours glow out [y-offset]
    local w=$1 h=$2 half=$(( $2 / 2 ))
    text_mask "$w" "$h" "$3" "$4" "$tmp/mask.png" "${9:-0}"
    convert \( -size "${w}x$half" gradient:"$5" \) \
        \( -size "${w}x$(( h - half ))" gradient:"$6" \) -append \
        "$tmp/mask.png" -alpha off -compose CopyOpacity -composite "$tmp/fill.png"
    convert "$tmp/mask.png" -morphology Dilate Disk:1.5 -blur 0x0.6 "$tmp/edge.png"
    convert "$tmp/mask.png" -morphology Dilate Disk:2 -blur 0x4 "$tmp/halo.png"
    convert -size "${w}x$h" xc:"$7" "$tmp/halo.png" -alpha off \
            -compose CopyOpacity -composite \
        \( -size "${w}x$h" xc:'#05070f' "$tmp/edge.png" -alpha off \
            -compose CopyOpacity -composite \) -compose Over -composite \
        "$tmp/fill.png" -compose Over -composite "$8"
}

rocket() { # out  (pointing right, 64x12, exhaust on the left)
    convert -size 48x12 xc:black -fill white -draw "polygon 0,6 47,2 47,10" \
        \( -size 12x48 gradient:white-black -rotate 90 \) \
        -compose Multiply -composite -blur 0x0.8 "$tmp/trail_alpha.png"
    convert -size 48x12 xc:'#ffb040' -fill '#fff4c0' -draw "rectangle 30,4 47,8" -blur 0x1 \
        "$tmp/trail_alpha.png" -alpha off -compose CopyOpacity -composite "$tmp/trail.png"
    convert -size 64x12 xc:none "$tmp/trail.png" -compose Over -composite \
        -fill '#c9d2de' -stroke '#3a4250' -strokewidth 0.8 \
        -draw "polygon 47,3 58,3 63,6 58,9 47,9" \
        -stroke none -fill '#e03a2a' -draw "polygon 58,3 63,6 58,9" \
        -fill '#6ad0ff' -draw "rectangle 52,5 55,6" \
        -fill '#8a93a3' -draw "polygon 47,3 44,0 51,3" -draw "polygon 47,9 44,11 51,9" \
        "$1"
}

orvane_banner() { # out
    local w=369 h=57
    space_background $w $h 20240611 "$tmp/bg.png"
    # A planet rim peeking in from the right edge.
    convert -size 90x90 radial-gradient:'#3b7fd0-#0a1a3a' \
        \( -size 90x90 xc:black -fill white -draw "circle 45,45 45,2" -blur 0x0.7 \) \
        -alpha off -compose CopyOpacity -composite \
        \( -size 90x90 xc:none -stroke '#9fd4ff' -strokewidth 2 -fill none \
           -draw "arc 3,3 87,87 180,270" -blur 0x1.2 \) -compose Screen -composite \
        "$tmp/planet.png"
    rocket "$tmp/rocket.png"
    chrome_text $w $h 44 ORVANE '#ffffff-#9fb4d4' '#1c2a48-#d8e6ff' '#2ab0ff' \
        "$tmp/title.png" 1
    convert "$tmp/bg.png" \
        "$tmp/planet.png" -geometry +318+-28 -compose Over -composite \
        "$tmp/rocket.png" -geometry +8+34 -compose Screen -composite \
        "$tmp/title.png" -geometry +10+0 -compose Over -composite \
        "$tmp/orvane_banner.png"
    save_palette "$tmp/orvane_banner.png" "$1"
}

rivet() { # out
    convert -size 11x11 xc:none \
        -fill '#00000080' -draw "circle 6,6 6,2" \
        \( -size 11x11 radial-gradient:'#ffffff-#8a93a3' -distort SRT '0.9 0 -1.5,-1.5' \
           \( -size 11x11 xc:black -fill white -draw "circle 5,5 5,1.8" \) \
           -alpha off -compose CopyOpacity -composite \) \
        -compose Over -composite "$1"
}

brushed_metal() { # w h seed out
    convert -size "$1x$2" xc:gray50 -seed "$3" +noise Uniform \
        -morphology Convolve 'Blur:0x14' -auto-level +level 38%,62% \
        \( -size "$1x$2" gradient:'#e2e8ee-#7d8791' \) \
        -compose Overlay -composite "$4"
}

# Raised lettering: lit from the top left like the bevel around it.
emboss_text() { # w h pointsize text colour out
    text_mask "$1" "$2" "$3" "$4" "$tmp/mask.png" 1
    convert "$tmp/mask.png" -blur 0x1.2 -shade 135x35 -auto-level \
        "$tmp/mask.png" -alpha off -compose CopyOpacity -composite "$tmp/shade.png"
    convert -size "$1x$2" xc:"$5" "$tmp/mask.png" -alpha off \
            -compose CopyOpacity -composite \
        "$tmp/shade.png" -compose HardLight -composite "$tmp/face.png"
    convert "$tmp/mask.png" -morphology Dilate Disk:1 -blur 0x1.5 "$tmp/drop.png"
    convert -size "$1x$2" xc:'#10141a' "$tmp/drop.png" -alpha off \
            -compose CopyOpacity -composite -channel A -evaluate multiply 0.8 +channel \
        -geometry +1+2 \
        \( -size "$1x$2" xc:'#ffffff' "$tmp/mask.png" -alpha off \
            -compose CopyOpacity -composite -channel A -evaluate multiply 0.55 +channel \) \
        -geometry -1-1 -compose Over -composite \
        "$tmp/face.png" -geometry +0+0 -compose Over -composite "$6"
}

orvane_label() { # text out
    local w=320 h=49
    brushed_metal $((w - 2)) $((h - 2)) 4242 "$tmp/metal.png"
    rivet "$tmp/rivet.png"
    emboss_text $w $h 27 "$1" '#2c4a78' "$tmp/label_text.png"
    convert "$tmp/metal.png" -raise 3x3 -bordercolor '#1b1f26' -border 1 \
        -fill none -stroke '#00000040' -draw "line 26,8 26,40 line 293,8 293,40" \
        -stroke '#ffffff50' -draw "line 27,8 27,40 line 294,8 294,40" \
        "$tmp/rivet.png" -geometry +8+8   -compose Over -composite \
        "$tmp/rivet.png" -geometry +8+30  -compose Over -composite \
        "$tmp/rivet.png" -geometry +302+8  -compose Over -composite \
        "$tmp/rivet.png" -geometry +302+30 -compose Over -composite \
        "$tmp/label_text.png" -geometry +0+0 -compose Over -composite \
        "$tmp/orvane_label.png"
    save_palette "$tmp/orvane_label.png" "$2"
}

orvane_heading() { # text out
    local w=320 h=49
    space_background $w $h 77031 "$tmp/bg.png"
    chrome_text $w $h 30 "$1" '#fffbe8-#f0c060' '#4a2a08-#ffe6a0' '#ff7a20' \
        "$tmp/heading_text.png" 1
    # Thin rails frame the words like a scoreboard plate.
    convert "$tmp/bg.png" \
        -fill none -stroke '#2ab0ff' -strokewidth 1 \
        -draw "line 6,5 313,5 line 6,43 313,43" \
        \( +clone -blur 0x2 \) -compose Screen -composite \
        "$tmp/heading_text.png" -compose Over -composite \
        "$tmp/orvane_heading.png"
    save_truecolor "$tmp/orvane_heading.png" "$2"
}

# Quibbix: candy colours on a deep violet playfield.
brick_colours=('#ff3b4e' '#ff8a1e' '#ffd21e' '#4fd14a' '#1ec8e8' '#3a7bff' '#b04dff' '#ff4fc0')

brick() { # w h colour out
    convert -size "$1x$2" xc:"$3" \
        -fill '#ffffff70' -draw "rectangle 0,0 $(( $1 - 1 )),1" \
        -fill '#ffffff40' -draw "rectangle 0,0 1,$(( $2 - 1 ))" \
        -fill '#00000060' -draw "rectangle 0,$(( $2 - 2 )) $(( $1 - 1 )),$(( $2 - 1 ))" \
        -fill '#00000040' -draw "rectangle $(( $1 - 2 )),0 $(( $1 - 1 )),$(( $2 - 1 ))" \
        "$4"
}

ball() { # diameter out
    local d=$1
    convert -size "${d}x$d" radial-gradient:'#ffffff-#8a9ab0' -distort SRT "1.4 0 $(( d / 3 )),$(( d / 3 ))" \
        \( -size "${d}x$d" xc:black -fill white -draw "circle $(( d / 2 )),$(( d / 2 )) $(( d / 2 )),0.5" \) \
        -alpha off -compose CopyOpacity -composite "$2"
}

# Each letter gets its own colour and a little tilt so the word bounces.
bouncy_word() { # word pointsize out
    local word=$1 i n=${#1} tilt drop parts=()
    for (( i = 0; i < n; i++ )); do
        tilt=$(( i % 2 ? 5 : -5 ))
        if (( i % 2 )); then drop=north; else drop=south; fi
        convert -background none -font "$font" -pointsize "$2" \
            -fill "${brick_colours[i % ${#brick_colours[@]}]}" \
            -stroke '#ffffff' -strokewidth 5 label:"${word:i:1}" \
            -stroke none label:"${word:i:1}" -compose Over -composite \
            -rotate "$tilt" -background none -gravity "$drop" -splice 0x6 \
            "$tmp/letter$i.png"
        parts+=("$tmp/letter$i.png")
    done
    convert -background none "${parts[@]}" -gravity center +smush -6 \
        \( +clone -fill '#1a0630' -colorize 100 -background none -shadow 80x1.5+0+0 \) \
        +swap -background none -layers merge +repage "$3"
}

quibbix_backdrop() { # w h out
    convert -size "$1x$2" gradient:'#2a0b52-#12052a' \
        \( -size "$1x$2" pattern:checkerboard -threshold 50% -scale 200% \
           -crop "$1x$2+0+0" +repage -alpha copy -fill white -colorize 100 \
           -channel A -evaluate multiply 0.05 +channel \) \
        -compose Over -composite "$3"
}

quibbix_banner() { # out
    local w=369 h=57 bw=28 bh=9 x i=0 skip args=()
    quibbix_backdrop $w $h "$tmp/qbg.png"
    # A top row of bricks with a couple already knocked out.
    for (( x = 3; x + bw <= w; x += bw + 2 )); do
        skip=$(( i == 4 || i == 9 ))
        if (( ! skip )); then
            brick $bw $bh "${brick_colours[i % ${#brick_colours[@]}]}" "$tmp/brick$i.png"
            args+=("$tmp/brick$i.png" -geometry "+$x+3" -compose Over -composite)
        fi
        i=$(( i + 1 ))
    done
    ball 9 "$tmp/ball.png"
    bouncy_word QUIBBIX 36 "$tmp/word.png"
    convert "$tmp/qbg.png" "${args[@]}" \
        -fill none -stroke '#ffffff30' -strokewidth 1 -draw "stroke-dasharray 2 3 path 'M 310,50 Q 326,18 340,35'" \
        "$tmp/ball.png" -geometry +336+30 -compose Over -composite \
        \( -size 44x6 gradient:'#f0f6ff-#6c7a92' -fill '#ff3b4e' -draw "rectangle 0,0 4,5 rectangle 39,0 43,5" \) \
        -geometry +318+49 -compose Over -composite \
        "$tmp/word.png" -gravity center -geometry +0+7 -compose Over -composite \
        "$tmp/quibbix_banner.png"
    save_palette "$tmp/quibbix_banner.png" "$1"
}

quibbix_label() { # text top-colour bottom-colour out
    local w=320 h=49
    quibbix_backdrop $w $h "$tmp/qbg.png"
    convert -size "${w}x$h" xc:black -fill white -draw "roundrectangle 3,3 316,45 14,14" "$tmp/pill.png"
    # Gloss: a pale band over the upper half, kept inside the pill.
    convert -size "${w}x$h" gradient:"$2-$3" "$tmp/pill.png" -alpha off \
            -compose CopyOpacity -composite \
        \( -size "${w}x$h" xc:none -fill '#ffffff60' -draw "roundrectangle 9,6 310,22 8,8" \) \
        -compose Atop -composite "$tmp/candy.png"
    ball 11 "$tmp/ball.png"
    brick 18 9 '#ffd21e' "$tmp/b1.png"
    brick 18 9 '#4fd14a' "$tmp/b2.png"
    convert -background none -font "$font" -pointsize 27 \
        -fill white -stroke '#1a0630' -strokewidth 5 label:"$1" \
        -stroke none label:"$1" -compose Over -composite \
        \( +clone -fill '#1a0630' -colorize 100 -background none -shadow 90x1+2+2 \) \
        +swap -background none -layers merge +repage "$tmp/qtext.png"
    convert "$tmp/qbg.png" \
        \( "$tmp/pill.png" -morphology Dilate Disk:2 -fill '#0c0218' -opaque white \
           -transparent black \) -compose Over -composite \
        "$tmp/candy.png" -compose Over -composite \
        "$tmp/ball.png" -geometry +18+19 -compose Over -composite \
        "$tmp/b1.png" -geometry +283+14 -compose Over -composite \
        "$tmp/b2.png" -geometry +283+25 -compose Over -composite \
        "$tmp/qtext.png" -gravity center -geometry +0+1 -compose Over -composite \
        "$tmp/quibbix_label.png"
    save_palette "$tmp/quibbix_label.png" "$4"
}

orvane_banner               "$root/orvane/res/banner.bmp"
orvane_label "DEPLOY NOW"   "$root/orvane/res/deploy.bmp"
orvane_heading "HIGH SCORE" "$root/orvane/res/highscore.bmp"
quibbix_banner              "$root/quibbix/res/banner.bmp"
quibbix_label RANDOMIZER '#39a8ff' '#1546c8' "$root/quibbix/res/randomizer.bmp"
quibbix_label CUSTOM     '#ff7ac4' '#c4157a' "$root/quibbix/res/custom.bmp"
