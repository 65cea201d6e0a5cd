# The studio's command line: its options go with --serve, --serve takes one
# source, and a studio that cannot start says why (status 1) before it
# listens on anything.

usage_error() {
    expect_status 2
    printf "tessark: %s\nTry 'tessark --help'.\n" "$1" >expected_usage.txt
    cmp -s expected_usage.txt stderr.txt || fail "expected \"$1\", got: $(cat stderr.txt)"
}

tessark --port 9000 -c "ls"
usage_error "--port, --listen and --web go with --serve"
tessark --serve --port 70000
usage_error "option --port needs a port number from 0 to 65535, not \"70000\""
tessark --serve --port=80a
usage_error "option --port needs a port number from 0 to 65535, not \"80a\""
tessark --serve --listen=
usage_error "option --listen needs an address"
tessark --serve one.obj two.obj
usage_error "--serve takes one source (an OBJ or OFF mesh, or a saved scene)"
tessark --serve -c "ls"
usage_error "--serve runs no -c text (the page's command line runs commands)"
tessark --serve -
usage_error "--serve reads no commands from standard input"

mkdir empty
tessark --serve --web empty --port 0
expect_status 1
expect_stderr <<'EOF'
tessark: the page is not in empty (no index.html there; give --web DIR)
EOF

mkdir -p page/node_modules/three/build
echo "<!doctype html>" >page/index.html
echo "" >page/node_modules/three/build/three.module.js
tessark --serve --web page --port 0 missing.obj
expect_status 1
grep -q '^tessark: the studio could not be set up: file -import "missing.obj": ' stderr.txt ||
    fail "a missing source: $(cat stderr.txt)"
echo "v 0 0 0" >nothing.obj
tessark --serve --web page --port 0 nothing.obj
expect_status 1
grep -q '^tessark: the studio could not be set up: ' stderr.txt ||
    fail "a source with no faces: $(cat stderr.txt)"
