# Plug-ins through the application: found on a --plugin-path directory, their
# nodes saved with the scene, and loaded again by the scene that needs them.
# With no option, the application searches the plug-ins directory beside its
# own build.

cat >use.mel <<'EOF'
loadPlugin hostTestPlugin
createNode hostTestScale -n s
setAttr s.factor 0.5
hostTestSet -value 5 s
getAttr s.output
file -rename plug.tsk
file -save
file -force -new
unloadPlugin hostTestPlugin
pluginInfo -q -loaded hostTestPlugin
file -open plug.tsk
pluginInfo -q -loaded hostTestPlugin
getAttr s.output
unloadPlugin hostTestPlugin
EOF

tessark --plugin-path "$TEST_PLUGIN_DIR" use.mel
expect_status 1
expect_stdout <<'EOF'
initializePlugin hostTestPlugin api 20200000
// Result: hostTestPlugin //
// Result: s //
// Result: 0 //
// Result: 2.5 //
// Result: plug.tsk //
// Result: plug.tsk //
uninitializePlugin hostTestPlugin
// Result: 0 //
initializePlugin hostTestPlugin api 20200000
// Result: plug.tsk //
// Result: 1 //
// Result: 2.5 //
EOF
expect_stderr <<'EOF'
// Error: unloadPlugin: plug-in hostTestPlugin is in use: node s is of type hostTestScale (delete it first) //
tessark: use.mel, line 14: failed: unloadPlugin hostTestPlugin
EOF
grep -qx 'requires "hostTestPlugin" "1.2"' plug.tsk || fail "plug.tsk does not require the plug-in: $(cat plug.tsk)"

# Without the option the test plug-ins are not found; the message lists the
# default directory, build/plug-ins beside build/bin.
plugins_dir=$(cd "$TEST_PLUGIN_DIR/.." && pwd)/plug-ins
tessark -c "loadPlugin hostTestPlugin"
expect_status 1
expect_stdout </dev/null
expect_stderr <<EOF
// Error: loadPlugin: plug-in "hostTestPlugin" was not found on the plug-in path $plugins_dir //
tessark: -c text, line 1: failed: loadPlugin hostTestPlugin
EOF

# Several directories are searched in order, before the default one.
tessark --plugin-path /nonexistent --plugin-path="$TEST_PLUGIN_DIR" -c "loadPlugin hostTestPlugin_2019; pluginInfo -q hostTestPlugin_2019"
expect_status 0
expect_stdout <<'EOF'
initializePlugin hostTestPlugin_2019 api 20190000
// Result: hostTestPlugin_2019 //
// Result: 20190000 //
EOF

# A scene that needs a plug-in the application cannot find is refused whole.
tessark -c "file -open plug.tsk"
expect_status 1
expect_stderr_contains '// Error: file: plug.tsk: line 2: '
expect_stderr_contains 'hostTestPlugin'
