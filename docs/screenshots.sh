#!/usr/bin/env bash
# Takes the screenshots in docs/ of the program at scale factors 1 and 2: the main window after
# a search and the four dialogs, under Xvfb with openbox, for a demo user whose documents folder
# holds a few files and a log; at scale 1 also the progress bar of a 5,000-file delete. Needs xvfb, openbox, xdotool, x11-utils and imagemagick.
# Usage: docs/screenshots.sh [program]   (default: the installed /usr/bin/Tilgomat)
set -euo pipefail
program=$(realpath "${1:-/usr/bin/Tilgomat}")
docs=$(cd "$(dirname "$0")" && pwd)
demo=/tmp/tilgomat-demo/anna

# The screen area of a window, frame included, as WxH+X+Y.
area() {
    local info x y w h l r t b
    info=$(xwininfo -id "$1")
    x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    w=$(awk '/^ *Width:/ {print $2}' <<<"$info")
    h=$(awk '/^ *Height:/ {print $2}' <<<"$info")
    read -r l r t b <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
    echo "$((w + l + r))x$((h + t + b))+$((x - l))+$((y - t))"
}

# The window with that title, framed.
shot() {
    local id
    id=$(timeout 10 xdotool search --sync --onlyvisible --name "$1" | tail -1)
    sleep 0.5
    import -window root -crop "$(area "$id")" +repage "$2"
}

# Grabs the main window while a long delete runs and keeps a frame from the middle of those
# whose status bar differs from the one left at the end, that is, shows the progress bar.
progressShot() {
    local frames=/tmp/tilgomat-demo/frames where shown=() i
    mkdir -p "$frames"
    where=$(area "$main")
    xdotool key Return # "Ja": delete them
    for i in $(seq 10 59); do
        import -window root -crop "$where" +repage "$frames/$i.png"
    done
    sleep 2
    import -window root -crop "$where" +repage "$frames/end.png"
    for i in $(seq 10 59); do
        if [ "$(compare -metric AE -gravity south -crop 0x30+0+0 "$frames/$i.png" \
            "$frames/end.png" null: 2>&1 | cut -d' ' -f1)" -gt 1000 ]; then
            shown+=("$i")
        fi
    done
    cp "$frames/${shown[${#shown[@]} / 2]}.png" "$1"
}

keys() {
    for k in "$@"; do
        xdotool key "$k"
        sleep 0.3
    done
}

# Clicks at a point given in pixels at scale 1, relative to the main window's client area.
click() {
    xdotool mousemove --window "$main" $(($1 * scale)) $(($2 * scale)) click 1
    sleep 0.5
}

session() {
    scale=$1
    rm -rf /tmp/tilgomat-demo
    mkdir -p "$demo/.config" "$demo/Dokumente/Briefe" "$demo/Dokumente/Bilder"
    echo 'XDG_DOCUMENTS_DIR="$HOME/Dokumente"' >"$demo/.config/user-dirs.dirs"
    for f in Angebot.doc Bericht.docx Rechnung.xls Notizen.txt Urlaub.jpg; do
        echo x >"$demo/Dokumente/$f"
    done
    for f in Antwort.doc Einladung.doc Kündigung.doc; do echo x >"$demo/Dokumente/Briefe/$f"; done
    for f in Strand.jpg Berge.jpg; do echo x >"$demo/Dokumente/Bilder/$f"; done
    printf '%s\r\n' '08.12.2026 10:15:02;"C:\tmp\tilgomat-demo\anna\Dokumente\Alt\Angebot.doc";1/3' \
        '08.12.2026 10:15:02;"C:\tmp\tilgomat-demo\anna\Dokumente\Alt\Brief.doc";3/3' \
        >"$demo/Dokumente/Tilgomat.txt"

    export DISPLAY=:$((90 + scale))
    Xvfb "$DISPLAY" -screen 0 $((1100 * scale))x$((800 * scale))x24 -dpi 96 >/dev/null 2>&1 &
    xvfb=$!
    sleep 1
    openbox >/dev/null 2>&1 &
    wm=$!
    sleep 1
    (cd "$demo/Dokumente" && HOME=$demo XDG_CONFIG_HOME=$demo/.config QT_SCALE_FACTOR=$scale \
        exec "$program") >/dev/null 2>&1 &
    app=$!
    main=$(timeout 10 xdotool search --sync --onlyvisible --name '^Tilgomat$' | head -1)
    sleep 1

    # Search the documents folder and its subfolders for *.doc.
    click 579 76 # the path field
    xdotool type 'C:\tmp\tilgomat-demo\anna\Dokumente'
    click 466 269 # the pattern box
    keys ctrl+a
    xdotool type '*.doc'
    click 549 267 # "Unterordner erfassen"
    keys alt+a Return
    shot '^Tilgomat$' "$docs/hidpi-${scale}x-main.png"

    keys alt+b Right Down Return
    shot 'Zielverzeichnis' "$docs/hidpi-${scale}x-target_folder_dialog.png"
    keys Escape

    click 434 106 # the first file of the file list
    click 180 31  # the toolbar's attributes button
    shot 'Dateiattribute' "$docs/hidpi-${scale}x-attributes_dialog.png"
    keys Tab space

    keys alt+a Up Return
    shot 'Löschprotokoll' "$docs/hidpi-${scale}x-log_viewer.png"
    keys Escape

    keys alt+question Return
    shot 'Info zu' "$docs/hidpi-${scale}x-about_box.png"
    keys Escape

    if [ "$scale" = 1 ]; then
        mkdir "$demo/Dokumente/Massen"
        (cd "$demo/Dokumente/Massen" && seq -f 'alt-%04g.doc' 1 5000 | xargs touch)
        click 579 76
        keys ctrl+a
        xdotool type 'C:\tmp\tilgomat-demo\anna\Dokumente\Massen'
        keys alt+a Return alt+b Right Return
        progressShot "$docs/progress-delete.png"
    fi
    kill "$app" "$wm" "$xvfb"
    wait "$app" "$wm" "$xvfb" 2>/dev/null || true
}

session 1
session 2
for f in target_folder_dialog attributes_dialog log_viewer about_box; do
    cp "$docs/hidpi-1x-$f.png" "$docs/dialog-$f.png"
done
