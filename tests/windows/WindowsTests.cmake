# Registers the Windows test executable with CTest; it runs under Wine
# (CMAKE_CROSSCOMPILING_EMULATOR). Discovery happens when ctest starts, where
# a wineserver is already running (scripts/test-windows): one started from
# inside the build would keep the build tool's pipes open.
gtest_discover_tests(vamrhelper_tests
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 300
    PROPERTIES TIMEOUT 300)
