# Undo and redo through the application: commands typed into scripts are
# undoable, an import is undone by removing what it brought, and redo puts
# it back.

cat >tri.obj <<'EOF'
v 0 0 0
v 1 0 0
v 0 1 0
f 1 2 3
EOF

cat >edits.mel <<'EOF'
createNode transform -n box
setAttr box.translateY 4.5
file -import tri.obj
ls -type mesh
undo
ls -type mesh
undo
getAttr box.translateY
redo
redo
getAttr box.translateY
ls -type mesh
select tri
file -exportSelected tri_out.obj -type OBJexport
undo
undo
undo
undo
undo
redo
ls box tri
EOF

tessark edits.mel
expect_status 0
expect_stdout <<'EOF'
// Result: box //
// Result: tri //
// Result: triShape //
// Undo: file -import tri.obj //
// Result:  //
// Undo: setAttr box.translateY 4.5 //
// Result: 0 //
// Redo: setAttr box.translateY 4.5 //
// Redo: file -import tri.obj //
// Result: 4.5 //
// Result: triShape //
// Result: tri_out.obj //
// Undo: select tri //
// Undo: file -import tri.obj //
// Undo: setAttr box.translateY 4.5 //
// Undo: createNode transform -n box //
// Redo: createNode transform -n box //
// Result: box //
EOF
expect_stderr <<'EOF'
// Warning: There are no more commands to undo. //
EOF
# The export is not undone: the file stays.
expect_file tri_out.obj <<'EOF'
o triShape
v 0 0 0
v 1 0 0
v 0 1 0
f 1 2 3
EOF
