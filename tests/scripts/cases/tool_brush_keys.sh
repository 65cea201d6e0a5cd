# The rail tool's settings, brush and keys on a sphere: the context command
# stores and answers the span counts; the relax brush smooths the patch under
# the cursor, keeps it on the surface and undoes in one step; BACKSPACE takes
# back strokes one per press, then the fuse loop, then each pin; Escape
# clears everything.

. "$(dirname "$CASE")/../tool_lib.sh"

cat >brush.mel <<EOF
$(tool_setup)
hostInput -ws "$(meridian -1.5)";
hostInput -ws "$(meridian 1.5)";
hostInput -k enter;
file -exportSelected before.obj -type "OBJexport";
TessarkContext -e -rb 1 -rad 40 -i 0.25 tc;
hostInput -ws "$(parallel 0 -1 1)";
file -exportSelected relaxed.obj -type "OBJexport";
undo;
file -exportSelected unrelaxed.obj -type "OBJexport";
redo;
file -exportSelected rerelaxed.obj -type "OBJexport";
EOF

tessark brush.mel
expect_status 0
expect_stdout <<'EOF'
// Result: Tessark_2020 //
// Result: src polySphere1 //
// Result: rail //
// Result: Connected srcShape.outMesh to rail.TessarkMesh. //
// Result: tc //
Tessark activated
// Result: kvMeshShape //
// Result: kvPatchNode1 //
// Result: before.obj //
// Result: relaxed.obj //
// Undo: TessarkCmd brushRelax //
// Result: unrelaxed.obj //
// Redo: TessarkCmd brushRelax //
// Result: rerelaxed.obj //
EOF
expect_stderr </dev/null
expect_on_sphere relaxed.obj
expect_same_file unrelaxed.obj before.obj
expect_same_file rerelaxed.obj relaxed.obj
cmp -s before.obj relaxed.obj && fail "the brush moved nothing"

cat >keys.mel <<EOF
$(tool_setup)
hostInput -ws "$(meridian -1.5)";
hostInput -ws "$(meridian 1.5)";
hostInput -k enter;
hostInput -ws "$(meridian 2.5)";
hostInput -ws "$(meridian 3.5)";
getAttr rail.sizes;
hostInput -k backspace;
getAttr rail.sizes;
hostInput -k backspace;
getAttr -size rail.sizes;
hostInput -k enter;
hostInput -ws "$(meridian 2.5)";
hostInput -ws "$(meridian 3.5)";
hostInput -k enter;
$(pin 1.5 -1.6667)
$(pin 1.5 1.6667)
$(middle_click 2.5 -1.6667)
optionVar -q Tessark_info1;
hostInput -k backspace;
optionVar -q Tessark_info1;
getAttr -size rail.fusept;
hostInput -k backspace;
optionVar -q Tessark_info1;
getAttr -size rail.playerpts;
hostInput -k backspace;
optionVar -q Tessark_info1;
getAttr -size rail.playerpts;
$(pin 1.5 -1.6667)
$(pin 1.5 1.6667)
hostInput -k escape;
getAttr -size rail.playerpts;
getAttr -size rail.playersLine;
polyEvaluate -f kvMeshShape;
EOF

tessark keys.mel
expect_status 0
expect_stdout <<'EOF'
// Result: Tessark_2020 //
// Result: src polySphere1 //
// Result: rail //
// Result: Connected srcShape.outMesh to rail.TessarkMesh. //
// Result: tc //
Tessark activated
// Result: kvMeshShape //
// Result: kvPatchNode1 //
// Result: 39 39 //
// Result: 39 //
// Result: 0 //
// Result: kvPatchNode2 //
// Result: PolyBridge Mode //
// Result: SelectMode: 2nd point selected,  BACKSPACE = remove last point, ENTER = complete //
// Result: 0 //
// Result: Select Mode: 1st point selected, BACKSPACE = remove last point //
// Result: 1 //
// Result:  //
// Result: 0 //
// Result: 0 //
// Result: 0 //
// Result: 288 //
EOF
expect_stderr </dev/null

# Last: the span counts it stores stay in the preferences.
cat >settings.mel <<EOF
TessarkContext -q -u tc;
loadPlugin Tessark_2020;
TessarkContext tc;
TessarkContext -q -u tc;
TessarkContext -q -v tc;
TessarkContext -e -u 6 -v 3 tc;
optionVar -q kv_uspan;
optionVar -q kv_vspan;
TessarkContext -e -u 8 tc;
optionVar -q kv_uspan;
optionVar -q kv_vspan;
TessarkContext -e -rb 1 -rad 40 -i 0.25 tc;
optionVar -q Tessark_info1;
optionVar -q Tessark_info2;
EOF

tessark -k settings.mel
expect_status 1
expect_stdout <<'EOF'
// Result: Tessark_2020 //
// Result: tc //
// Result: 12 //
// Result: 12 //
// Result: 6 //
// Result: 3 //
// Result: 8 //
// Result: 3 //
// Result: Brush Relax Mode //
// Result: Click+Drag on the mesh to relax its points //
EOF
expect_stderr <<'EOF'
// Error: Cannot find procedure "TessarkContext". //
tessark: settings.mel, line 1: failed: TessarkContext -q -u tc
EOF

