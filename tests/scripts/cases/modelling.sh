# Modelling commands driven through the application: a primitive with its
# history, a vertex move undone and redone, the edited mesh saved and opened
# again exactly, and two meshes exported as one OBJ file.

tessark -c "polySphere -n ball; polyEvaluate -v ball"
expect_status 0
expect_stdout <<'EOF'
// Result: ball polySphere1 //
// Result: 382 //
EOF

cat >edit.mel <<'EOF'
polySphere -n ball
move -r 0 2 0 ball.vtx[0]
pointPosition ball.vtx[0]
undo
pointPosition ball.vtx[0]
redo
polyCube -n box
polyEvaluate -v box
polyEvaluate -f box
file -rename edited.tsk
file -save
file -force -new
file -open edited.tsk
polyEvaluate -v ball
pointPosition ball.vtx[0]
select ball box
file -exportSelected both.obj -type "OBJexport"
EOF

tessark edit.mel
expect_status 0
expect_stdout <<'EOF'
// Result: ball polySphere1 //
// Result: 0.148778017349658 1.0123116594048622 -0.04834090820338494 //
// Undo: move -r 0 2 0 ball.vtx[0] //
// Result: 0.148778017349658 -0.9876883405951378 -0.04834090820338494 //
// Redo: move -r 0 2 0 ball.vtx[0] //
// Result: box polyCube1 //
// Result: 8 //
// Result: 6 //
// Result: edited.tsk //
// Result: edited.tsk //
// Result: edited.tsk //
// Result: 382 //
// Result: 0.148778017349658 1.0123116594048622 -0.04834090820338494 //
// Result: both.obj //
EOF
expect_stderr </dev/null
[ "$(grep -c '^v ' both.obj)" -eq 390 ] || fail "both.obj has $(grep -c '^v ' both.obj) vertices, expected 382 + 8"
[ "$(grep -c '^f ' both.obj)" -eq 406 ] || fail "both.obj has $(grep -c '^f ' both.obj) faces, expected 400 + 6"
grep -qx 'v 0.148778017349658 1.0123116594048622 -0.04834090820338494' both.obj || fail "the moved vertex is not exported where it was moved"
[ "$(grep '^o ' both.obj | tr '\n' ' ')" = "o ballShape o boxShape " ] || fail "objects in both.obj: $(grep '^o ' both.obj)"
