# Hostile input through the application: special files where the host reads
# or writes, a truncated plug-in, a damaged preferences file, a string held
# open over many lines of standard input, and commands the host used to take
# wrongly. Each is refused clearly (or done as meant) and nothing is lost.

cat >tri.obj <<'EOF'
v 0 0 0
v 1 0 0
v 0 1 0
f 1 2 3
EOF
mkfifo pipe.tsk pipe.obj
mkdir real
ln -s real/scene.tsk link.tsk

cat >special.mel <<'EOF'
file -import tri.obj
file -rename pipe.tsk
file -save
file -open pipe.tsk
file -import pipe.obj
select tri
file -exportSelected pipe.obj -type "OBJexport"
file -rename link.tsk
file -save
EOF

tessark --keep-going special.mel
expect_status 1
expect_stdout <<'EOF'
// Result: tri //
// Result: pipe.tsk //
// Result: link.tsk //
// Result: link.tsk //
EOF
expect_stderr <<'EOF'
// Error: file: cannot save pipe.tsk: it is a FIFO (named pipe), not a regular file //
tessark: special.mel, line 3: failed: file -save
// Error: file: cannot open pipe.tsk: it is a FIFO (named pipe), not a regular file //
tessark: special.mel, line 4: failed: file -open pipe.tsk
// Error: file: cannot open pipe.obj: it is a FIFO (named pipe), not a regular file //
tessark: special.mel, line 5: failed: file -import pipe.obj
// Error: file: cannot save pipe.obj: it is a FIFO (named pipe), not a regular file //
tessark: special.mel, line 7: failed: file -exportSelected pipe.obj -type "OBJexport"
EOF
[ -p pipe.tsk ] && [ -p pipe.obj ] || fail "a FIFO was replaced: $(ls -l)"
[ -L link.tsk ] || fail "the link was replaced by a file"
head -n 1 real/scene.tsk | grep -qx 'tessark scene 1' || fail "the save did not reach the link's target"

# A truncated copy of a plug-in is refused before it is mapped.
head -c 20000 "$TEST_PLUGIN_DIR/hostTestPlugin.so" >cut.so
tessark -c 'loadPlugin "./cut.so"'
expect_status 1
expect_stderr_contains "// Error: loadPlugin: cannot open plug-in ./cut.so: it is truncated: a segment ends at byte "
expect_stderr_contains " of 20000 //"

# A damaged preferences file is kept aside, not overwritten by the next write.
mkdir prefs
printf '{"kv_uspan": [{"int": 6}], "kv_vspan": ' >prefs/optionVars.json
cp prefs/optionVars.json damaged.json
tessark -c "optionVar -iv kv_bdiv 3"
expect_status 0
expect_stderr <<EOF
// Warning: preferences file $WORK/prefs/optionVars.json is damaged (parse error at line 1, column 40: syntax error while parsing value - unexpected end of input; expected '[', '{', or a literal); it is kept as $WORK/prefs/optionVars.json.damaged; no option variables were read //
EOF
expect_same_file prefs/optionVars.json.damaged damaged.json
tessark -c "optionVar -q kv_bdiv"
expect_stdout <<'EOF'
// Result: 3 //
EOF

# A string open over 30,000 lines of standard input; the failure after it is
# placed on its exact line.
{
    echo 'optionVar -sv note "start'
    i=0
    while [ $i -lt 30000 ]; do
        echo 'more'
        i=$((i + 1))
    done
    echo 'end"'
    echo 'noSuchCommand'
} >long.mel
tessark <long.mel
expect_status 1
expect_stderr <<'EOF'
// Error: Cannot find procedure "noSuchCommand". //
tessark: standard input, line 30003: failed: noSuchCommand
EOF

# Commands: history deleted through the transform, -inf as a value, a value
# the attribute cannot hold, a component range beyond the mesh.
cat >commands.mel <<'EOF'
polySphere -n s
delete -ch s
ls -type polySphere
setAttr s.tx -inf
getAttr s.tx
setAttr s.visibility 2
move 1 0 0 s.vtx[0:999999999]
getAttr s.visibility
EOF
tessark --keep-going commands.mel
expect_status 1
expect_stdout <<'EOF'
// Result: s polySphere1 //
// Result:  //
// Result: -inf //
// Result: 1 //
EOF
expect_stderr <<'EOF'
// Error: setAttr: s.visibility cannot hold 2 (it is of type bool) //
tessark: commands.mel, line 6: failed: setAttr s.visibility 2
// Error: move: s.vtx[0:999999999]: component range 0:999999999 is out of range (382 elements) //
tessark: commands.mel, line 7: failed: move 1 0 0 s.vtx[0:999999999]
EOF

# Scripts: a directory or a device is refused before anything runs (a device
# may have no end); a pipe is read, as a shell's process substitution gives.
mkdir folder.mel
tessark -c "optionVar -iv ranAnyway 1" folder.mel
expect_status 2
expect_stderr <<'EOF'
tessark: cannot read script folder.mel: it is a directory
Try 'tessark --help'.
EOF
if [ "$(id -u)" -eq 0 ] && mknod zero.mel c 1 5 2>mknod.txt; then
    tessark zero.mel
    expect_status 2
    expect_stderr <<'EOF'
tessark: cannot read script zero.mel: it is a device
Try 'tessark --help'.
EOF
fi
mkfifo script.fifo
echo 'createNode transform -n viaPipe' >script.fifo &
tessark script.fifo
expect_status 0
expect_stdout <<'EOF'
// Result: viaPipe //
EOF
tessark -c "optionVar -exists ranAnyway"
expect_stdout <<'EOF'
// Result: 0 //
EOF
