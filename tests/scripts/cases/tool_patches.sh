# The rail tool driven as an artist would, on a sphere of radius 5 seen from
# the front: two strokes and ENTER make a 12 x 12 patch on the surface; pins
# on its border and a stroke grow a second patch sharing that border; a Shift
# drag sweeps a path from the player; a Ctrl drag redraws the last patch.
# Each action undoes and redoes exactly (the exported mesh is the same byte
# for byte), and every vertex lies on the sphere.

. "$(dirname "$CASE")/../tool_lib.sh"

cat >patches.mel <<EOF
$(tool_setup)
hostInput -ws "$(meridian -1.5)";
hostInput -ws "$(meridian 1.5)";
getAttr rail.sizes;
hostInput -k enter;
polyEvaluate -f kvMeshShape;
polyEvaluate -v kvMeshShape;
file -exportSelected one.obj -type "OBJexport";
$(pin 1.5 -1.6667)
optionVar -q Tessark_info1;
$(pin 1.5 1.6667)
optionVar -q Tessark_info1;
getAttr -size rail.playersLine;
hostInput -ws "$(meridian 3)";
polyEvaluate -f kvMeshShape;
polyEvaluate -v kvMeshShape;
getAttr rail.isLastPlayer;
getAttr -size rail.playersLine;
file -exportSelected two.obj -type "OBJexport";
hostInput -sh -ws "$(parallel 0 3 4)";
polyEvaluate -f kvMeshShape;
getAttr -size rail.playersLine;
file -exportSelected path.obj -type "OBJexport";
hostInput -ct -ws "$(meridian 4.3)";
polyEvaluate -f kvMeshShape;
file -exportSelected redrawn.obj -type "OBJexport";
undo;
file -exportSelected undo1.obj -type "OBJexport";
undo;
file -exportSelected undo2.obj -type "OBJexport";
undo;
file -exportSelected undo3.obj -type "OBJexport";
redo;
file -exportSelected redo1.obj -type "OBJexport";
redo;
file -exportSelected redo2.obj -type "OBJexport";
redo;
file -exportSelected redo3.obj -type "OBJexport";
EOF

tessark patches.mel
expect_status 0
expect_stdout <<'EOF'
// Result: Tessark_2020 //
// Result: src polySphere1 //
// Result: rail //
// Result: Connected srcShape.outMesh to rail.TessarkMesh. //
// Result: tc //
Tessark activated
// Result: 39 39 //
// Result: kvMeshShape //
// Result: kvPatchNode1 //
// Result: 144 //
// Result: 169 //
// Result: one.obj //
// Result: Select Mode: 1st point selected, BACKSPACE = remove last point //
// Result: SelectMode: 2nd point selected,  BACKSPACE = remove last point, ENTER = complete //
// Result: 11 //
// Result: kvPatchNode2 //
// Result: 264 //
// Result: 301 //
// Result: 1 //
// Result: 11 //
// Result: two.obj //
// Result: kvPatchNode3 //
// Result: 384 //
// Result: 11 //
// Result: path.obj //
// Result: 384 //
// Result: redrawn.obj //
// Undo: TessarkCmd redrawPatch //
// Result: undo1.obj //
// Undo: kvPatchCmd -m "|polySurface1" //
// Result: undo2.obj //
// Undo: kvPatchCmd -m "|polySurface1" //
// Result: undo3.obj //
// Redo: kvPatchCmd -m "|polySurface1" //
// Result: redo1.obj //
// Redo: kvPatchCmd -m "|polySurface1" //
// Result: redo2.obj //
// Redo: TessarkCmd redrawPatch //
// Result: redo3.obj //
EOF
expect_stderr </dev/null

expect_on_sphere one.obj two.obj path.obj redrawn.obj
expect_same_file undo1.obj path.obj
expect_same_file undo2.obj two.obj
expect_same_file undo3.obj one.obj
expect_same_file redo1.obj two.obj
expect_same_file redo2.obj path.obj
expect_same_file redo3.obj redrawn.obj
# The second patch shares the first one's border: its vertices begin with the
# first patch's 169, the shared ones only pressed onto the sphere again.
grep '^v ' one.obj >first.txt
grep '^v ' two.obj | head -n 169 >shared.txt
moved=$(paste -d ' ' first.txt shared.txt | awk '{ d = ($2-$6)^2 + ($3-$7)^2 + ($4-$8)^2;
    if (d > m) m = d } END { printf "%.6f", sqrt(m) }')
awk -v m="$moved" 'BEGIN { exit !(m < 0.001) }' || fail "a first-patch vertex moved by $moved"
# The path runs from x = 3 to about 4; the redraw moved its far side onto the
# new stroke at x = 4.3.
expect_max_x path.obj 4.0
expect_max_x redrawn.obj 4.3
