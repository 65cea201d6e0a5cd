# Joining borders with the rail tool on a sphere: two separate patches; pins
# on the first one's border and a middle click on the second one's border
# pick a fuse loop, and ENTER bridges them (a Shift+middle click welds them
# instead); a middle drag from one border vertex to another merges the two.
# Each join undoes and redoes exactly.

. "$(dirname "$CASE")/../tool_lib.sh"

two_patches() {
    tool_setup
    echo "hostInput -ws \"$(meridian -1.5)\";"
    echo "hostInput -ws \"$(meridian 1.5)\";"
    echo "hostInput -k enter;"
    echo "hostInput -ws \"$(meridian 2.5)\";"
    echo "hostInput -ws \"$(meridian 3.5)\";"
    echo "hostInput -k enter;"
    echo "file -exportSelected apart.obj -type \"OBJexport\";"
}

cat >bridge.mel <<EOF
$(two_patches)
polyEvaluate -f kvMeshShape;
polyEvaluate -v kvMeshShape;
$(pin 1.5 -1.6667)
$(pin 1.5 1.6667)
$(middle_click 2.5 -1.6667)
optionVar -q Tessark_info1;
optionVar -q Tessark_info2;
getAttr -size rail.fusept;
getAttr -size rail.fuseindices;
hostInput -k enter;
polyEvaluate -f kvMeshShape;
polyEvaluate -v kvMeshShape;
getAttr -size rail.fusept;
file -exportSelected bridged.obj -type "OBJexport";
undo;
file -exportSelected unbridged.obj -type "OBJexport";
redo;
file -exportSelected rebridged.obj -type "OBJexport";
EOF

tessark bridge.mel
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
// Result: kvPatchNode2 //
// Result: apart.obj //
// Result: 288 //
// Result: 338 //
// Result: PolyBridge Mode //
// Result: Press ENTER to complete or select another pin-point //
// Result: 11 //
// Result: 60 //
// Result: 308 //
// Result: 349 //
// Result: 0 //
// Result: bridged.obj //
// Undo: TessarkCmd redrawFusion //
// Result: unbridged.obj //
// Redo: TessarkCmd redrawFusion //
// Result: rebridged.obj //
EOF
expect_stderr </dev/null
expect_on_sphere apart.obj
expect_same_file unbridged.obj apart.obj
expect_same_file rebridged.obj bridged.obj

cat >weld.mel <<EOF
$(two_patches)
$(pin 1.5 -1.6667)
$(pin 1.5 1.6667)
$(middle_click 2.5 -1.6667 -sh)
optionVar -q Tessark_info1;
getAttr rail.mode;
hostInput -k enter;
polyEvaluate -f kvMeshShape;
polyEvaluate -v kvMeshShape;
file -exportSelected welded.obj -type "OBJexport";
undo;
file -exportSelected unwelded.obj -type "OBJexport";
redo;
file -exportSelected rewelded.obj -type "OBJexport";
EOF

tessark weld.mel
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
// Result: kvPatchNode2 //
// Result: apart.obj //
// Result: PolyBridge Mode //
// Result: 0 //
// Result: 288 //
// Result: 327 //
// Result: welded.obj //
// Undo: TessarkCmd weld //
// Result: unwelded.obj //
// Redo: TessarkCmd weld //
// Result: rewelded.obj //
EOF
expect_stderr </dev/null
expect_same_file unwelded.obj apart.obj
expect_same_file rewelded.obj welded.obj

cat >magnet.mel <<EOF
$(two_patches)
hostInput -p -b middle -w "$(front 1.5 1.6667)";
optionVar -q Tessark_info1;
getAttr -size rail.magnetPt;
hostInput -d -b middle -w "$(front 2.5 1.6667)";
getAttr -size rail.magnetPt;
hostInput -r -b middle -w "$(front 2.5 1.6667)";
polyEvaluate -v kvMeshShape;
getAttr -size rail.magnetPt;
file -exportSelected merged.obj -type "OBJexport";
undo;
file -exportSelected unmerged.obj -type "OBJexport";
redo;
file -exportSelected remerged.obj -type "OBJexport";
EOF

tessark magnet.mel
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
// Result: kvPatchNode2 //
// Result: apart.obj //
// Result: Merge Mode: 1 point selected //
// Result: 1 //
// Result: 2 //
// Result: polyMergeVert1 //
// Result: 337 //
// Result: 0 //
// Result: merged.obj //
// Undo: polyMergeVertex -d 9999 - am 1  "|polySurface1.vtx[155]" "|polySurface1.vtx[312]" //
// Result: unmerged.obj //
// Redo: polyMergeVertex -d 9999 - am 1  "|polySurface1.vtx[155]" "|polySurface1.vtx[312]" //
// Result: remerged.obj //
EOF
expect_stderr </dev/null
expect_same_file unmerged.obj apart.obj
expect_same_file remerged.obj merged.obj
