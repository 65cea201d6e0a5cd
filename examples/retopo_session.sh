#!/usr/bin/env bash
# A retopology session from one command: the Tessark tool driven as an artist
# would, on a dense source surface, with pictures, the saved scene and the
# retopology mesh as OBJ.
#
#   examples/retopo_session.sh [SOURCE.obj|SOURCE.off] [--out DIR] [--tessark PATH]
#
# Without a source, a generated blob of a million triangles is used. The
# results go to DIR/<name>/ (DIR defaults to out/, <name> is the source's file
# name, or "default"): retopo.obj, session.tsk, snapshots step*.png, and the
# session's own commands as session.mel. Nothing is left in DIR/<name>/ when
# the session fails.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
out_dir=out
tessark_bin=$root/build/bin/tessark
source_file=""

while [ $# -gt 0 ]; do
    case "$1" in
        --out) out_dir=$2; shift 2 ;;
        --tessark) tessark_bin=$2; shift 2 ;;
        -h|--help) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        -*) echo "retopo_session: unknown option $1 (try --help)" >&2; exit 2 ;;
        *) [ -z "$source_file" ] || { echo "retopo_session: one source only" >&2; exit 2; }
           source_file=$1; shift ;;
    esac
done

[ -x "$tessark_bin" ] || { echo "retopo_session: $tessark_bin is not built (run ./run.sh build)" >&2; exit 1; }
tessark_bin=$(cd "$(dirname "$tessark_bin")" && pwd)/$(basename "$tessark_bin")

if [ -n "$source_file" ]; then
    [ -f "$source_file" ] || { echo "retopo_session: $source_file: no such file" >&2; exit 1; }
    case "$source_file" in
        *.obj|*.OBJ|*.off|*.OFF) ;;
        *) echo "retopo_session: $source_file: give an OBJ or OFF mesh" >&2; exit 1 ;;
    esac
    source_file=$(cd "$(dirname "$source_file")" && pwd)/$(basename "$source_file")
    name=$(basename "$source_file"); name=${name%.*}
else
    name=default
fi

mkdir -p "$out_dir"
out_dir=$(cd "$out_dir" && pwd)
final=$out_dir/$name
work=$(mktemp -d "$out_dir/.$name.XXXXXX")
trap '[ -n "${KEEP_WORK:-}" ] || rm -rf "$work"' EXIT

# The session imports its source as source.obj (or .off) from its own folder,
# so that the scene calls it "source" whatever the file's name.
if [ -z "$source_file" ]; then
    echo "Generating the default source: a sculpted blob of 1,000,000 triangles"
    awk -v rings=501 -v segments=1000 -f "$here/dense_blob.awk" >"$work/source.obj"
    source_name="the default blob"
    imported=source.obj
else
    extension=$(printf %s "${source_file##*.}" | tr '[:upper:]' '[:lower:]')
    imported=source.$extension
    ln -s "$source_file" "$work/$imported"
    source_name=$(basename "$source_file")
fi

# ---- the session, in the host's command language ---------------------------
# The view is 960 x 720 pixels looking at the source's front, fitted to it;
# strokes are given in view pixels (origin at the bottom left), so they fall
# on whatever surface fills the middle of the view.

# A vertical pixel stroke at x = $1 from y = $2 to $3, one sample every 4 pixels.
vstroke() { awk -v x="$1" -v y0="$2" -v y1="$3" 'BEGIN { n = int((y1 - y0) / 4);
    for (i = 0; i <= n; i++) printf "%d %d ", x, y0 + (y1 - y0) * i / n }'; }
# A horizontal pixel stroke at y = $1 from x = $2 to $3.
hstroke() { awk -v y="$1" -v x0="$2" -v x1="$3" 'BEGIN { n = int((x1 - x0) / 4); if (n < 0) n = -n;
    for (i = 0; i <= n; i++) printf "%d %d ", x0 + (x1 - x0) * i / n, y }'; }
# A Shift+Ctrl click: a pin on the retopology mesh's border.
pin() { echo "hostInput -p -b left -sh -ct -x $1 -y $2; hostInput -r -b left -sh -ct -x $1 -y $2;"; }
snapshot() { echo "hostView -snapshot \"$1\"; hostReport -mark;"; }

# The layout, in view pixels: quads of about 30 pixels; patch A's rails at
# x = 180 and 300, from y = 180 to 540; B grows from A's right border to
# x = 420; a path runs on from B to x = 540 and is redrawn to x = 560; patch C
# stands apart at x = 680 to 780 and is bridged to the path; patch D hangs
# below A and is welded to it; patch E below B is caught by its corners.
src=source
cat >"$work/session.mel" <<EOF
// The Tessark example session on $source_name.
loadPlugin Tessark_2020;
loadPlugin Vintrel_2020;
file -import "$imported";
hostView -size 960 720;
viewPlace -eye 0 0 40 -lookAt 0 0 0 -up 0 1 0 persp;
viewFit -f 2.5 $src;
createNode Tessark -n rail;
connectAttr ${src}Shape.outMesh rail.TessarkMesh;
select -cl;
modelEditor -e -rendererOverrideName PlexwendViewport modelPanel4;
TessarkContext tc;
setToolTo tc;
// Twelve spans along the strokes, four across.
TessarkContext -e -u 12 -v 4 tc;
hostReport -begin;

// Patch A: two strokes, then ENTER.
hostInput -st "$(vstroke 180 180 540)";
hostInput -st "$(vstroke 300 180 540)";
hostInput -k enter;
hostReport "patch A from two strokes and ENTER";
$(snapshot step1-patch.png)

// Patch B, grown from two pins on A's right border (Shift+Ctrl clicks) and one stroke.
$(pin 300 180)
$(pin 300 540)
hostInput -st "$(vstroke 420 180 540)";
hostReport "patch B grown from A's border (two pins, one stroke)";

// A path from B's border, swept along a Shift drag.
hostInput -sh -st "$(hstroke 360 420 540)";
hostReport "path from the player (Shift drag)";

// The path's spans changed afterwards, then its far side redrawn with a Ctrl drag.
TessarkCmd -u 12 -v 6;
hostReport "span change of the path (TessarkCmd -u 12 -v 6)";
hostInput -ct -st "$(vstroke 560 180 540)";
hostReport "redraw of the path's far side (Ctrl drag)";
TessarkContext -e -v 4 tc;
$(snapshot step2-grown.png)

// Patch C, apart from the rest; then a bridge from the path's far border to C's near one.
hostInput -k escape;
hostInput -st "$(vstroke 680 180 540)";
hostInput -st "$(vstroke 780 180 540)";
hostInput -k enter;
hostReport "patch C from two strokes and ENTER";
$(pin 560 180)
$(pin 560 540)
hostInput -p -b middle -x 680 -y 180; hostInput -r -b middle -x 680 -y 180;
$(snapshot step3-bridge-preview.png)
hostInput -k enter;
hostReport "bridge from the path to C (middle click, ENTER)";

// Patch D below A, its top border welded onto A's bottom one (pins, Shift+middle click, ENTER).
hostInput -k escape;
TessarkContext -e -u 4 tc;
hostInput -st "$(vstroke 180 52 172)";
hostInput -st "$(vstroke 300 52 172)";
hostInput -k enter;
hostReport "patch D below A";
$(pin 180 180)
$(pin 300 180)
hostInput -p -b middle -sh -x 180 -y 172; hostInput -r -b middle -sh -x 180 -y 172;
hostInput -k enter;
hostReport "weld of D's top border onto A (Shift+middle click, ENTER)";

// Patch E below B, its top corner caught on B's bottom one (middle drag).
hostInput -k escape;
hostInput -st "$(vstroke 300 52 172)";
hostInput -st "$(vstroke 420 52 172)";
hostInput -k enter;
hostReport "patch E below B";
hostInput -p -b middle -x 420 -y 172; hostInput -d -b middle -x 420 -y 180; hostInput -r -b middle -x 420 -y 180;
hostReport "magnet merge of E's corner onto B's (middle drag)";
$(snapshot step4-joined.png)

// The last patch relaxed, then the bridge smoothed with the brush; the last stroke undone and redone.
TessarkCmd -r 1;
hostReport "relax of the last patch (TessarkCmd -r 1)";
TessarkContext -e -rb 1 -rad 60 -i 0.25 tc;
hostInput -st "$(hstroke 300 560 680)";
hostInput -st "$(hstroke 420 560 680)";
hostReport "brush relax over the bridge (two strokes)";
undo;
hostReport "undo of the last brush stroke";
redo;
hostReport "redo of it";
TessarkContext -e -rb 0 tc;
$(snapshot step5-final.png)
modelEditor -e -rendererOverrideName "" modelPanel4;
$(snapshot step5-final-plain.png)

hostReport -summary -surface $src -tolerance 0.001;
file -rename "session.tsk";
file -save;
file -exportSelected "retopo.obj" -type "OBJexport";
EOF

echo "Running the session on $source_name (results in $final)"
# Run inside the work folder: the session names its files relative to it.
if ! (cd "$work" && "$tessark_bin" --prefs prefs session.mel); then
    echo "retopo_session: the session failed; nothing was written to $final" >&2
    exit 1
fi
rm -rf "$work/prefs" "$work/$imported"
rm -rf "$final"
mv "$work" "$final"
trap - EXIT
echo "Done: $final/retopo.obj, $final/session.tsk and the pictures $final/step*.png"
