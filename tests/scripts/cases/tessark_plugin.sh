# The Tessark plug-in in the application: it loads from the plug-in
# directory with no option, its rail node is set up and saved with the scene,
# and the patch modifier command rewires a mesh's history undoably.

cat >patch.mel <<'EOF2'
loadPlugin Tessark_2020
pluginInfo -q -vendor Tessark_2020
polyPlane -n m -sx 2 -sy 2 -ch off
setAttr m|mShape.pnts[4] 0 0.5 0
createNode Tessark -n rail
connectAttr mShape.outMesh rail.TessarkMesh
setAttr rail.strokes -type pointArray 2 0 0 0 1 1 0 0 1
setAttr rail.sizes -type Int32Array 1 2
kvPatchCmd -m "|m"
getAttr polyTweak1.tweak[4]
getAttr mShape.pnts[4]
ls -type kvPatchNode -type polyTweak
pointPosition m.vtx[4]
undo
ls -type kvPatchNode -type polyTweak
getAttr mShape.pnts[4]
redo
pointPosition m.vtx[4]
file -rename railScene.tsk
file -save
file -force -new
file -open railScene.tsk
getAttr -size rail.strokes
getAttr rail.sizes
getAttr rail.locked
pointPosition m.vtx[4]
kvPatchCmd -m nothing
EOF2

tessark patch.mel
expect_status 1
expect_stdout <<'EOF2'
// Result: Tessark_2020 //
// Result: Plexwend //
// Result: m //
// Result: rail //
// Result: Connected mShape.outMesh to rail.TessarkMesh. //
// Result: kvPatchNode1 //
// Result: 0 0.5 0 //
// Result: 0 0 0 //
// Result: kvPatchNode1 polyTweak1 //
// Result: 0 0.5 0 //
// Undo: kvPatchCmd -m "|m" //
// Result:  //
// Result: 0 0.5 0 //
// Redo: kvPatchCmd -m "|m" //
// Result: 0 0.5 0 //
// Result: railScene.tsk //
// Result: railScene.tsk //
// Result: railScene.tsk //
// Result: 2 //
// Result: 2 //
// Result: 1 //
// Result: 0 0.5 0 //
EOF2
expect_stderr <<'EOF2'
// Error: Invalid mesh shape path:  //
tessark: patch.mel, line 27: failed: kvPatchCmd -m nothing
EOF2
