# Refused file operations say why, and leave the scene and the files as they
# were.

cat >tri.obj <<'EOF'
v 0 0 0
v 1 0 0
v 0 1 0
f 1 2 3
EOF
printf 'v 0 0 0\nv 1 0\nf 1 2 3\n' >broken.obj
printf 'tessark scene 1\nnode transform a\nnode noSuchType b\n' >broken.tsk
echo "plain text" >notes.txt

cat >errors.mel <<'EOF'
file -import tri.obj
select tri
file -exportSelected out.obj -type "OBJexport"
file -save
file -open missing.tsk
file -open broken.tsk
file -import broken.obj
file -import notes.txt
file -import tri.obj -type "OFF"
file -import tri.obj -type "mayaAscii"
file -exportSelected out.obj
file -exportSelected out.obj -type "mayaAscii"
createNode transform -n empty
file -exportSelected out.obj -type "OBJexport"
select -clear
file -exportSelected out.obj -type "OBJexport"
file
file -new -open broken.tsk
file -save extra.tsk
file -open
file -query
ls tri empty
file -q -sn
EOF
cp tri.obj kept.obj

tessark --keep-going errors.mel
expect_status 1
expect_stdout <<'EOF'
// Result: tri //
// Result: out.obj //
// Result: empty //
// Result: tri empty //
// Result:  //
EOF
expect_stderr <<'EOF'
// Error: file: the scene has no file name yet: rename it (file -rename) before saving //
tessark: errors.mel, line 4: failed: file -save
// Error: file: cannot open missing.tsk: No such file or directory //
tessark: errors.mel, line 5: failed: file -open missing.tsk
// Error: file: broken.tsk: line 3: unknown node type "noSuchType" //
tessark: errors.mel, line 6: failed: file -open broken.tsk
// Error: file: broken.obj: line 2: the line ends where coordinate was expected //
tessark: errors.mel, line 7: failed: file -import broken.obj
// Error: file: notes.txt: unknown mesh file type ".txt" (.obj and .off are read) //
tessark: errors.mel, line 8: failed: file -import notes.txt
// Error: file: tri.obj is not named as a file of type OFF //
tessark: errors.mel, line 9: failed: file -import tri.obj -type "OFF"
// Error: file: cannot import files of type "mayaAscii" (OBJ, OFF) //
tessark: errors.mel, line 10: failed: file -import tri.obj -type "mayaAscii"
// Error: file: -exportSelected needs -type "OBJexport" //
tessark: errors.mel, line 11: failed: file -exportSelected out.obj
// Error: file: cannot export files of type "mayaAscii" (OBJexport) //
tessark: errors.mel, line 12: failed: file -exportSelected out.obj -type "mayaAscii"
// Error: file: cannot export out.obj: empty has no mesh to export //
tessark: errors.mel, line 14: failed: file -exportSelected out.obj -type "OBJexport"
// Error: file: nothing is selected to export //
tessark: errors.mel, line 16: failed: file -exportSelected out.obj -type "OBJexport"
// Error: file: use one of -new, -open, -rename, -save, -import, -exportSelected or -query -sceneName //
tessark: errors.mel, line 17: failed: file
// Error: file: use one of -new, -open, -rename, -save, -import, -exportSelected or -query -sceneName //
tessark: errors.mel, line 18: failed: file -new -open broken.tsk
// Error: file: -save takes no file name (unexpected "extra.tsk") //
tessark: errors.mel, line 19: failed: file -save extra.tsk
// Error: file: -open needs a file name //
tessark: errors.mel, line 20: failed: file -open
// Error: file: -query needs -sceneName or -list //
tessark: errors.mel, line 21: failed: file -query
EOF
# The refused export did not touch the file written before it.
expect_file out.obj <<'EOF'
o triShape
v 0 0 0
v 1 0 0
v 0 1 0
f 1 2 3
EOF
expect_same_file tri.obj kept.obj
[ ! -e extra.tsk ] || fail "a refused save wrote extra.tsk"
[ "$(ls -a | grep -c '^\.')" -eq 2 ] || fail "a refused operation left a hidden temporary: $(ls -a)"
