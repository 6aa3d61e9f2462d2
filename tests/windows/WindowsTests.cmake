# Registers the Windows test executable with CTest; it runs under Wine
# (CMAKE_CROSSCOMPILING_EMULATOR). Discovery happens when ctest starts, where
# a wineserver is already running (scripts/test-windows): one started from
# inside the build would keep the build tool's pipes open.
gtest_discover_tests(vamrhelper_tests
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 300
    PROPERTIES TIMEOUT 300)

# Smoke test of the shipped executable: starts it under Wine, closes its
# window the way the close button does and checks the exit and the log.
add_executable(vamrhelper_close_main_window "${CMAKE_CURRENT_LIST_DIR}/smoke/close_main_window.c")
target_compile_options(vamrhelper_close_main_window PRIVATE -Wall -Wextra)
find_program(VAMRHELPER_OBJDUMP ${VAMRHELPER_MINGW_TRIPLE}-objdump REQUIRED)
add_test(NAME AppSmoke.StartsShowsItsWindowQuitsOnCloseAndLogs
         COMMAND bash "${CMAKE_CURRENT_LIST_DIR}/smoke/app-smoke-test.sh"
                 "${CMAKE_BINARY_DIR}/wine-run"
                 "$<TARGET_FILE:vamrhelper_app>"
                 "$<TARGET_FILE:vamrhelper_close_main_window>"
                 "${VAMRHELPER_OBJDUMP}"
                 "${CMAKE_CURRENT_BINARY_DIR}/app-smoke")
# Alone: twice, with the link hand-over tests' Wine processes running beside
# it, the app had not quit 30 s after the close request.
set_tests_properties(AppSmoke.StartsShowsItsWindowQuitsOnCloseAndLogs PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE)
