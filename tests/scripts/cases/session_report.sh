# viewFit frames the camera on meshes; hostReport gives one line per action
# and a summary of the selected mesh, and refuses what it cannot report on.

cat >report.mel <<'MEL'
viewFit;
polyPlane -n grid -sx 2 -sy 3;
viewFit -f 0;
viewFit -f 1.5 nothing;
viewFit -all;
select -cl;
hostReport -summary;
hostReport;
select grid;
hostReport -begin;
polyPlane -n other -sx 1 -sy 1;
delete other;
select grid;
polyMergeVertex -d 10 grid.vtx[0:1];
hostReport "two vertices merged";
hostReport -summary -surface grid -tolerance -1;
hostReport -summary -surface nowhere;
polyPlane -n lifted -sx 1 -sy 1;
move -r 0 0.25 0 lifted;
select grid;
hostReport -summary -surface lifted -tolerance 0.1;
MEL
tessark -k report.mel
expect_status 1
sed 's/[0-9]*\.[0-9] ms/T ms/g' stdout.txt >shown.txt
expect_file shown.txt <<'EOF2'
// Result: grid polyPlane1 //
// Result: other polyPlane2 //
// Result: polyMergeVert1 //
[1] two vertices merged: +0 faces, -1 vertices (6 faces, 11 vertices), T ms
// Result: lifted polyPlane3 //
Summary of the session
  retopology mesh |grid|gridShape: 5 quads, 1 other polygons, 11 vertices
  edges: 16, 9 on the border, 0 non-manifold
  on the surface of |lifted|liftedShape: 0 of 11 vertices within 0.1, the farthest 0.250000 away
  1 action in T ms: T ms each on average, the slowest two vertices merged (T ms)
EOF2
expect_stderr <<'EOF2'
// Error: viewFit: there is no mesh to fit the view to //
tessark: report.mel, line 1: failed: viewFit
// Error: viewFit: the fit factor must be a positive number //
tessark: report.mel, line 3: failed: viewFit -f 0
// Error: viewFit: No object matches name: nothing //
tessark: report.mel, line 4: failed: viewFit -f 1.5 nothing
// Error: hostReport: select the retopology mesh for its summary //
tessark: report.mel, line 7: failed: hostReport -summary
// Error: hostReport: give the action's name, or -begin, -mark or -summary //
tessark: report.mel, line 8: failed: hostReport
// Error: hostReport: the tolerance must be a distance of 0 or more //
tessark: report.mel, line 16: failed: hostReport -summary -surface grid -tolerance -1
// Error: hostReport: No object matches name: nowhere //
tessark: report.mel, line 17: failed: hostReport -summary -surface nowhere
EOF2
