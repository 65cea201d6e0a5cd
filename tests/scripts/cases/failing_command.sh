# The first failing command stops the run with exit status 1 and an error
# that names the command and its place; --keep-going runs the rest and still
# exits with 1.

cat >first.mel <<'EOF'
createNode transform -n a
// a comment line, then a command the host does not know
setAttr a.translateX 2; noSuchCommand 1 2
createNode transform -n b
EOF
cat >second.mel <<'EOF'
createNode transform -n c
getAttr b.translateX
EOF

tessark -c "createNode transform -n first; getAttr first.visibility" first.mel second.mel
expect_status 1
expect_stdout <<'EOF'
// Result: first //
// Result: 1 //
// Result: a //
EOF
expect_stderr <<'EOF'
// Error: Cannot find procedure "noSuchCommand". //
tessark: first.mel, line 3: failed: noSuchCommand 1 2
EOF

tessark --keep-going first.mel second.mel
expect_status 1
expect_stdout <<'EOF'
// Result: a //
// Result: b //
// Result: c //
// Result: 0 //
EOF
expect_stderr <<'EOF'
// Error: Cannot find procedure "noSuchCommand". //
tessark: first.mel, line 3: failed: noSuchCommand 1 2
EOF

# A command that the host knows but refuses: its own error, same status.
tessark -c "createNode transform -n a; createNode noSuchType; createNode transform -n b"
expect_status 1
expect_stdout <<'EOF'
// Result: a //
EOF
expect_stderr <<'EOF'
// Error: createNode: Unknown object type: noSuchType //
tessark: -c text, line 1: failed: createNode noSuchType
EOF

# Text that is not command text runs none of its commands.
printf 'createNode transform -n a\nsetAttr -type "string" a.notes "open\n' >unterminated.mel
tessark -k unterminated.mel -c "ls first a"
expect_status 1
expect_stdout <<'EOF'
// Result:  //
EOF
expect_stderr <<'EOF'
// Error: unterminated.mel: line 2: unterminated string //
EOF

# Everything succeeding is status 0 even after warnings.
tessark -c "undo; createNode transform -n ok"
expect_status 0
expect_stdout <<'EOF'
// Result: ok //
EOF
expect_stderr <<'EOF'
// Warning: There are no more commands to undo. //
EOF
