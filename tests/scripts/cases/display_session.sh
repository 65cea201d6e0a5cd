# Vintrel in a session with the rail tool, on a sphere of radius 5 seen from
# the front: strokes shown by the rail node, two patches, pins on the first
# patch's border and a fuse preview to the second one's; snapshots of the
# panel with the normal renderer and through the PlexwendViewport override
# (the retopology mesh overlaid, the label; then shaded by the override's
# stock shader; then without its UI drawing, which leaves the normal
# renderer's picture). Every snapshot is a 640 x 480 PNG of the panel.

. "$(dirname "$CASE")/../tool_lib.sh"

cat >display.mel <<EOF
$(tool_setup)
loadPlugin Vintrel_2020;
hostInput -ws "$(meridian -1.5)";
hostInput -ws "$(meridian 1.5)";
getAttr rail.sizes;
hostView -snapshot strokes.png;
hostInput -k enter;
hostInput -ws "$(meridian 2.5)";
hostInput -ws "$(meridian 3.5)";
hostInput -k enter;
polyEvaluate -f kvMeshShape;
$(pin 1.5 -1.6667)
$(pin 1.5 1.6667)
$(middle_click 2.5 -1.6667)
optionVar -q Tessark_info1;
getAttr -size rail.fusept;
hostView -snapshot fuse_plain.png;
modelEditor -e -rendererOverrideName PlexwendViewport modelPanel4;
modelEditor -q -rendererOverrideName modelPanel4;
hostView -snapshot fuse_plexwend.png;
optionVar -q kvCutMeshName;
PlexwendViewport -so 1 -uu 1;
hostView -snapshot fuse_plexwend_shaded.png;
PlexwendViewport -uu 0;
hostView -snapshot fuse_plexwend_bare.png;
EOF

tessark display.mel
expect_status 0
expect_stdout <<'EOF'
// Result: Tessark_2020 //
// Result: src polySphere1 //
// Result: rail //
// Result: Connected srcShape.outMesh to rail.TessarkMesh. //
// Result: tc //
Tessark activated
// Result: Vintrel_2020 //
// Result: 39 39 //
// Result: strokes.png //
// Result: kvMeshShape //
// Result: kvPatchNode1 //
// Result: kvPatchNode2 //
// Result: 288 //
// Result: PolyBridge Mode //
// Result: 11 //
// Result: fuse_plain.png //
// Result: PlexwendViewport //
// Result: fuse_plexwend.png //
// Result: |polySurface1|kvMeshShape //
// Result: fuse_plexwend_shaded.png //
// Result: fuse_plexwend_bare.png //
EOF
expect_stderr </dev/null

# The PNG signature and an image header of 640 x 480, as a viewer reads them.
expect_png() {
    if [ ! -s "$1" ]; then
        fail "$1 is missing or empty"
        return
    fi
    header=$(od -An -tx1 -N24 "$1" | tr -d ' \n')
    [ "$header" = "89504e470d0a1a0a0000000d4948445200000280000001e0" ] ||
        fail "$1 is not a 640 x 480 PNG (its first bytes: $header)"
}

expect_differ() {
    if cmp -s "$1" "$2"; then fail "$1 and $2 are the same picture"; fi
}

for png in strokes.png fuse_plain.png fuse_plexwend.png fuse_plexwend_shaded.png \
    fuse_plexwend_bare.png; do
    expect_png "$png"
done
expect_differ strokes.png fuse_plain.png
expect_differ fuse_plain.png fuse_plexwend.png
expect_differ fuse_plexwend.png fuse_plexwend_shaded.png
expect_differ fuse_plain.png fuse_plexwend_shaded.png
# Without its UI drawing the override shows what the normal renderer shows.
expect_same_file fuse_plain.png fuse_plexwend_bare.png
