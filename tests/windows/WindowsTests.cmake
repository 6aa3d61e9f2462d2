# Registers the Windows test executable with CTest; it runs under Wine
# (CMAKE_CROSSCOMPILING_EMULATOR). Discovery happens when ctest starts, where
# a wineserver is already running (scripts/test-windows): one started from
# inside the build would keep the build tool's pipes open.
gtest_discover_tests(vamrhelper_tests
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 300
    PROPERTIES TIMEOUT 300)

# The executable tests read the built app's resources.
add_dependencies(vamrhelper_tests vamrhelper_app)
file(RELATIVE_PATH VAMRHELPER_APP_FROM_TESTS "${CMAKE_CURRENT_BINARY_DIR}" "${CMAKE_BINARY_DIR}/Vamrelund Helper.exe")
target_compile_definitions(vamrhelper_tests PRIVATE VAMRHELPER_APP_FROM_TESTS="${VAMRHELPER_APP_FROM_TESTS}")
