# Helpers of the tool cases: a sphere of radius 5 as the source, seen from
# the front (eye at z = 20), strokes drawn on it as world points, pins, and
# checks of exported meshes. Sourced by cases/tool_*.sh.

# The scene: the plug-in, the source, the rail node, the camera and the tool.
tool_setup() {
    cat <<'MEL'
loadPlugin Tessark_2020;
polySphere -n src -r 5 -sx 80 -sy 80;
createNode Tessark -n rail;
connectAttr srcShape.outMesh rail.TessarkMesh;
select -cl;
viewPlace -eye 0 0 20 -lookAt 0 0 0 persp;
TessarkContext tc;
setToolTo tc;
MEL
}

# A stroke on the sphere's front at x = $1, from y = -2 to 2, 40 points.
meridian() {
    awk -v x="$1" 'BEGIN { for (i = 0; i < 40; i++) { y = -2 + 4 * i / 39;
        printf "%.6f %.6f %.6f ", x, y, sqrt(25 - x * x - y * y) } }'
}

# A stroke on the sphere's front at y = $1, from x = $2 to $3, 30 points.
parallel() {
    awk -v y="$1" -v x0="$2" -v x1="$3" 'BEGIN { for (i = 0; i < 30; i++) {
        x = x0 + (x1 - x0) * i / 29; printf "%.6f %.6f %.6f ", x, y, sqrt(25 - x * x - y * y) } }'
}

# The point of the sphere's front at (x, y) = ($1, $2).
front() {
    awk -v x="$1" -v y="$2" 'BEGIN { printf "%.6f %.6f %.6f", x, y, sqrt(25 - x * x - y * y) }'
}

# A Shift+Ctrl click (a pin pick) at the sphere's front point ($1, $2).
pin() {
    echo "hostInput -p -b left -sh -ct -w \"$(front "$1" "$2")\";"
    echo "hostInput -r -b left -sh -ct -w \"$(front "$1" "$2")\";"
}

# A middle click at the sphere's front point ($1, $2); $3 = -sh for Shift.
middle_click() {
    echo "hostInput -p -b middle ${3:-} -w \"$(front "$1" "$2")\";"
    echo "hostInput -r -b middle ${3:-} -w \"$(front "$1" "$2")\";"
}

# Every vertex of each OBJ file lies on the faceted sphere (within 0.006 of radius 5).
expect_on_sphere() {
    for f in "$@"; do
        worst=$(awk '$1 == "v" { d = sqrt($2 * $2 + $3 * $3 + $4 * $4) - 5; if (d < 0) d = -d;
            if (d > m) m = d } END { printf "%.6f", m }' "$f")
        awk -v w="$worst" 'BEGIN { exit !(w < 0.006) }' ||
            fail "$f: a vertex lies $worst off the sphere"
    done
}

# The largest x of the OBJ file's vertices is $2 (within 0.1: the rows are
# pressed onto the sphere along the quads' normals).
expect_max_x() {
    top=$(awk '$1 == "v" && (n++ == 0 || $2 > m) { m = $2 } END { printf "%.4f", m }' "$1")
    awk -v t="$top" -v want="$2" 'BEGIN { d = t - want; exit !(d < 0.1 && d > -0.1) }' ||
        fail "$1: the largest x is $top, expected about $2"
}
