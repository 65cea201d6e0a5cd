# A dense, lightly sculpted blob as a triangle mesh in OBJ: rings of latitude
# from pole to pole, each split into triangles, about 2 * rings * segments
# triangles in all.
#   awk -v rings=501 -v segments=1000 -f dense_blob.awk > blob.obj   (1,000,000 triangles)
function radius(t, p) {
    return 5 * (1 + 0.10 * sin(3 * t) * cos(2 * p) + 0.04 * sin(7 * t + 1) * sin(5 * p) \
                  + 0.012 * sin(19 * t) * sin(17 * p))
}
BEGIN {
    pi = atan2(0, -1)
    printf "# dense blob: %d rings, %d segments\n", rings, segments
    printf "v 0 %.6f 0\n", radius(0, 0)
    for (i = 1; i < rings; i++) {
        t = pi * i / rings
        for (j = 0; j < segments; j++) {
            p = 2 * pi * j / segments
            r = radius(t, p)
            printf "v %.6f %.6f %.6f\n", r * sin(t) * cos(p), r * cos(t), r * sin(t) * sin(p)
        }
    }
    printf "v 0 %.6f 0\n", -radius(pi, 0)
    # Vertex 1 is the top pole, then ring i (1-based) starts at 2 + (i - 1) * segments.
    for (j = 0; j < segments; j++) printf "f 1 %d %d\n", 2 + (j + 1) % segments, 2 + j
    for (i = 1; i < rings - 1; i++) {
        a = 2 + (i - 1) * segments
        b = a + segments
        for (j = 0; j < segments; j++) {
            k = (j + 1) % segments
            printf "f %d %d %d\n", a + j, a + k, b + k
            printf "f %d %d %d\n", a + j, b + k, b + j
        }
    }
    last = 2 + (rings - 1) * segments
    a = 2 + (rings - 2) * segments
    for (j = 0; j < segments; j++) printf "f %d %d %d\n", a + j, a + (j + 1) % segments, last
}
