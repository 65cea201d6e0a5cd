# The example scripts of the repository keep working.

EXAMPLES=$(dirname "$CASE")/../../../examples
tessark "$EXAMPLES/rail_display.mel"
expect_status 0
[ -s rail_display.png ] || fail "rail_display.png was not written"
expect_stderr </dev/null
