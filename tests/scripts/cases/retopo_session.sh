# The example retopology session, end to end on a smaller generated blob:
# every action reports, the mesh it builds is all quads, manifold and on the
# surface, the files it promises are there and the saved scene opens again;
# bad sources and options fail with one clear message and leave nothing.

EXAMPLES=$(dirname "$CASE")/../../../examples
session() {
    bash "$EXAMPLES/retopo_session.sh" --tessark "$TESSARK_EXE" --out results "$@" \
        >stdout.txt 2>stderr.txt
    status=$?
}

awk -v rings=121 -v segments=240 -f "$EXAMPLES/dense_blob.awk" >blob.obj
[ "$(grep -c '^f ' blob.obj)" -eq 57600 ] || fail "the blob has $(grep -c '^f ' blob.obj) triangles"

session blob.obj
expect_status 0
expect_stderr </dev/null
[ "$(grep -c '^\[[0-9]*\] .*: [+-][0-9]* faces, [+-][0-9]* vertices (.*), [0-9.]* ms$' stdout.txt)" -eq 15 ] ||
    fail "not one progress line for each of the 15 actions: $(cat stdout.txt)"
grep -q '^// Result: ' stdout.txt && fail "the commands' results reach the terminal"
grep -qx '  retopology mesh |polySurface1|kvMeshShape: 272 quads, 0 other polygons, 312 vertices' stdout.txt ||
    fail "the summary's mesh line: $(grep -A4 '^Summary' stdout.txt)"
grep -qx '  edges: 584, 80 on the border, 0 non-manifold' stdout.txt || fail "the summary's edge line"
grep -qx '  on the surface of |source|sourceShape: 312 of 312 vertices within 0.001, the farthest 0.000000 away' \
    stdout.txt || fail "not every vertex lies on the surface"

r=results/blob
for f in retopo.obj session.tsk session.mel session.log step1-patch.png step2-grown.png \
    step3-bridge-preview.png step4-joined.png step5-final.png step5-final-plain.png; do
    [ -s "$r/$f" ] || fail "$r/$f was not written"
done
[ "$(ls -A results)" = "blob" ] || fail "left in results/: $(ls -A results)"
[ "$(grep -c '^v ' $r/retopo.obj)" -eq 312 ] || fail "retopo.obj has $(grep -c '^v ' $r/retopo.obj) vertices"
[ "$(grep '^f ' $r/retopo.obj | awk 'NF == 5' | wc -l)" -eq 272 ] || fail "retopo.obj is not 272 quads"
[ "$(grep -c '^f ' $r/retopo.obj)" -eq 272 ] || fail "retopo.obj has faces other than its quads"
grep -q '^// Result: step5-final.png //' $r/session.log || fail "session.log lacks the results"

# The saved scene opens with its retopology mesh and history.
tessark -c "file -o \"$r/session.tsk\"" -c "polyEvaluate -f kvMeshShape" -c "polyEvaluate -v kvMeshShape"
expect_status 0
expect_stdout <<EOF
// Result: $r/session.tsk //
// Result: 272 //
// Result: 312 //
EOF

# Bad sources: one message naming the file, a failing status, nothing written.
rm -rf results
session missing.obj
expect_status 1
expect_stderr <<'EOF'
retopo_session: missing.obj: no such file
EOF
echo "not a mesh" >mesh.txt
session mesh.txt
expect_status 1
expect_stderr <<'EOF'
retopo_session: mesh.txt: give an OBJ or OFF mesh
EOF
printf 'v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 7\n' >broken.obj
session broken.obj
expect_status 1
expect_stderr_contains "$PWD/broken.obj: line 4: vertex index 7 is out of range"
expect_stderr_contains "the session failed; nothing was written to $PWD/results/broken"
[ "$(ls -A results)" = "broken.failed.log" ] || fail "left in results/: $(ls -A results)"
session blob.obj --frames 2
expect_status 2
expect_stderr <<'EOF'
retopo_session: unknown option --frames (try --help)
EOF
session blob.obj blob.obj
expect_status 2

# A source the strokes miss (a plane seen edge-on) says so.
rm -rf results
tessark -c "polyPlane -n flat -sx 4 -sy 4; select flat; file -exportSelected \"flat.obj\" -type \"OBJexport\""
expect_status 0
session flat.obj
expect_status 1
expect_stderr_contains "retopo_session: no stroke landed on flat.obj: the session draws in the middle of a front view"
[ "$(ls -A results)" = "flat.failed.log" ] || fail "left in results/: $(ls -A results)"
