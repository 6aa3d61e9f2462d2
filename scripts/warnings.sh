# Shared by the test scripts. Source it after common.sh.

# Runs a build command, keeps its output in the build folder, and lists at
# the end the compiler warnings that point into our own code, so they are not
# lost in a long build log. JUCE's own warnings are switched off where JUCE is
# compiled (cmake/VamrHelperTargets.cmake). Returns the build's exit code.
build_reporting_warnings() {
    local label="$1"; shift
    local log="$VAMRHELPER_BUILD/$label-build.log"
    mkdir -p "$VAMRHELPER_BUILD"

    local rc=0
    "$@" 2>&1 | tee "$log" || rc=$?

    local own
    own=$(grep -E "^$VAMRHELPER_REPO/(src|tests|tools|bench)/[^:]+:[0-9]+:([0-9]+:)? warning:" "$log" | sort -u || true)
    if [ -n "$own" ]; then
        echo "== $(wc -l <<<"$own") compiler warning(s) in our code, $label build (files rebuilt this time):"
        echo "$own"
    else
        echo "== No compiler warnings in our code, $label build (files rebuilt this time)"
    fi
    return $rc
}
