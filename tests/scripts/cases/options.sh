# The command line: help, version, usage errors (status 2), commands from
# standard input, quiet and verbose output.

tessark_bare --help
expect_status 0
head -n 1 stdout.txt | grep -qx 'usage: tessark \[options\] \[script ...\]' || fail "--help: $(head -n 1 stdout.txt)"

tessark_bare --version
expect_status 0
grep -qx 'tessark [0-9][0-9.]*' stdout.txt || fail "--version: $(cat stdout.txt)"

tessark --frobnicate
expect_status 2
expect_stderr <<'EOF'
tessark: unknown option --frobnicate
Try 'tessark --help'.
EOF

tessark -c
expect_status 2
expect_stderr <<'EOF'
tessark: option -c needs a value
Try 'tessark --help'.
EOF

tessark --quiet --verbose -c "ls"
expect_status 2
expect_stderr <<'EOF'
tessark: --quiet and --verbose cannot be used together
Try 'tessark --help'.
EOF

# A missing script is found before anything runs.
tessark -c "optionVar -iv ranAnyway 1" missing.mel
expect_status 2
expect_stderr <<'EOF'
tessark: cannot read script missing.mel: No such file or directory
Try 'tessark --help'.
EOF
tessark -c "optionVar -exists ranAnyway"
expect_stdout <<'EOF'
// Result: 0 //
EOF

tessark - -
expect_status 2
expect_stderr <<'EOF'
tessark: standard input ("-") can be read only once
Try 'tessark --help'.
EOF

# Standard input when there is nothing else to run, and as "-" among scripts;
# a string may run over several lines.
tessark <<'EOF'
createNode transform -n fromInput; optionVar -sv note "two
lines"
optionVar -q note
EOF
expect_status 0
expect_stdout <<'EOF'
// Result: fromInput //
// Result: two
lines //
EOF

echo 'createNode transform -n second' >second.mel
tessark -c "createNode transform -n first" - second.mel <<'EOF'
ls first second
EOF
expect_stdout <<'EOF'
// Result: first //
// Result: first //
// Result: second //
EOF

# Option variables persist in the --prefs directory from run to run.
tessark -c "optionVar -iv kv_uspan 7"
tessark -c "optionVar -q kv_uspan"
expect_stdout <<'EOF'
// Result: 7 //
EOF

# Quiet: no results and no information, warnings and errors still shown.
tessark --quiet -c "createNode transform -n q; undo; undo; getAttr q.translateX"
expect_status 1
expect_stdout </dev/null
expect_stderr <<'EOF'
// Warning: There are no more commands to undo. //
// Error: getAttr: No object matches name: q.translateX //
tessark: -c text, line 1: failed: getAttr q.translateX
EOF

# Verbose: each command before its result.
tessark --verbose -c "createNode transform -n v; getAttr v.scaleY"
expect_status 0
expect_stdout <<'EOF'
createNode transform -n v;
// Result: v //
getAttr v.scaleY;
// Result: 1 //
EOF
