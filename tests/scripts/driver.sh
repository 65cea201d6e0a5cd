#!/bin/sh
# Runs one end-to-end case: the application on command files in a fresh
# working directory with its own preferences, checked against exact output.
#
#   driver.sh TESSARK CASE WORKDIR TEST_PLUGIN_DIR
#
# A case is a shell fragment using the helpers below: it writes its inputs
# (command files, meshes) with here-documents, runs `tessark ARGS...` and
# states what it expects. Every failed expectation is reported; the case
# fails when any did.

set -u
TESSARK_EXE=$1
CASE=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
WORK=$3
TEST_PLUGIN_DIR=$4

# The environment must not point the application elsewhere.
unset TESSARK_PLUGIN_PATH TESSARK_PREFS

rm -rf "$WORK"
mkdir -p "$WORK" || exit 1
cd "$WORK" || exit 1

failures=0
status=0

fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# Runs the application with the case's own preferences; standard output,
# standard error and the exit status are kept for the checks that follow.
tessark() {
    "$TESSARK_EXE" --prefs "$WORK/prefs" "$@" >stdout.txt 2>stderr.txt
    status=$?
}

# Same, without the preferences option (for usage checks).
tessark_bare() {
    "$TESSARK_EXE" "$@" >stdout.txt 2>stderr.txt
    status=$?
}

expect_status() {
    [ "$status" -eq "$1" ] || fail "exit status $status, expected $1 (stderr: $(cat stderr.txt))"
}

# Compares a file with the here-document given on standard input.
compare() {
    what=$1
    file=$2
    cat >expected.txt
    if ! diff -u expected.txt "$file" >diff.txt 2>&1; then
        fail "$what differs from what was expected:"
        cat diff.txt >&2
    fi
}

expect_stdout() { compare "standard output" stdout.txt; }
expect_stderr() { compare "standard error" stderr.txt; }
expect_file() { compare "file $1" "$1"; }

expect_same_file() {
    cmp -s "$1" "$2" || fail "$1 and $2 differ"
}

expect_stderr_contains() {
    grep -qF -- "$1" stderr.txt || fail "standard error lacks \"$1\": $(cat stderr.txt)"
}

. "$CASE"

if [ "$failures" -ne 0 ]; then
    echo "$failures expectation(s) failed in $(basename "$CASE")" >&2
    exit 1
fi
