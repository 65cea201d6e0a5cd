# A scene built by commands is saved, replaced by a new scene, and opened
# again: values come back bit for bit and the mesh exports identically.

cat >patch.obj <<'EOF'
v 0 0 0
v 1 0 0
v 2 0 0.25
v 0 1 0
v 1 1 0
v 2 1 0.5
vt 0 0
vt 0.5 0
vt 1 0
vt 0 1
vt 0.5 1
vt 1 1
f 1/1 2/2 5/5 4/4
f 2/2 3/3 6/6 5/5
EOF

cat >build.mel <<'EOF'
file -import patch.obj
createNode transform -n rig
setAttr patch.translate 0.1 -2.5e-300 1e+30
setAttr patch.rotate 0.3 0 -0.7
setAttr rig.scale 3 0.5 1
file -rename scene.tsk
file -save
select patch
file -exportSelected before.obj -type "OBJexport"
EOF

cat >reopen.mel <<'EOF'
file -force -new
ls patch rig
file -q -sceneName
file -open scene.tsk
file -q -sn
ls patch rig
getAttr patch.translate
getAttr patch.rotate
getAttr rig.scale
select patch
file -es after.obj -typ "OBJexport"
undo
undo
EOF

tessark build.mel reopen.mel
expect_status 0
expect_stdout <<'EOF'
// Result: patch //
// Result: rig //
// Result: scene.tsk //
// Result: scene.tsk //
// Result: before.obj //
// Result:  //
// Result:  //
// Result: scene.tsk //
// Result: scene.tsk //
// Result: patch rig //
// Result: 0.1 -2.5e-300 1e+30 //
// Result: 0.3 0 -0.7 //
// Result: 3 0.5 1 //
// Result: after.obj //
// Undo: select patch //
EOF
# Opening the file started a fresh undo queue.
expect_stderr <<'EOF'
// Warning: There are no more commands to undo. //
EOF
expect_same_file before.obj after.obj
grep -qx 'v 0.1 -2.5e-300 1e+30' after.obj || fail "the first vertex is not where the transform puts it"
