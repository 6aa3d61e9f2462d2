# Registers the Windows test executable with CTest; it runs under Wine
# (CMAKE_CROSSCOMPILING_EMULATOR). Discovery happens when ctest starts, where
# a wineserver is already running (scripts/test-windows): one started from
# inside the build would keep the build tool's pipes open.
if(NOT VAMRHELPER_SERVICE_TESTS_REMOTE)
    gtest_discover_tests(vamrhelper_tests
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 300
        PROPERTIES TIMEOUT 300)
else()
    # The service tests' suites, read from their sources, as one gtest filter.
    set(service_sources ${VAMRHELPER_TEST_COMMON_SOURCES})
    list(FILTER service_sources INCLUDE REGEX "ServiceTest\\.cpp$")
    set(service_suites)
    foreach(source IN LISTS service_sources)
        file(STRINGS "${source}" declarations REGEX "^TEST(_F)? *\\( *[A-Za-z0-9_]+")
        foreach(declaration IN LISTS declarations)
            string(REGEX REPLACE "^TEST(_F)? *\\( *([A-Za-z0-9_]+).*" "\\2.*" suite "${declaration}")
            list(APPEND service_suites "${suite}")
        endforeach()
    endforeach()
    list(REMOVE_DUPLICATES service_suites)
    list(JOIN service_suites ":" service_filter)

    gtest_discover_tests(vamrhelper_tests
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 300
        TEST_FILTER "-${service_filter}"
        PROPERTIES TIMEOUT 300)

    # The service tests share one native demo service that a fixture starts
    # for the run; they take turns on it, since each resets it and sets its
    # faults. They learn its origin from a file Wine reads through drive Z:.
    set(demo_service_state "${CMAKE_BINARY_DIR}/demo-service-fixture")
    gtest_discover_tests(vamrhelper_tests
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 300
        TEST_FILTER "${service_filter}"
        PROPERTIES TIMEOUT 300
                   FIXTURES_REQUIRED demo_service
                   RESOURCE_LOCK demo_service
                   ENVIRONMENT "VAMRHELPER_DEMO_SERVICE_ORIGIN_FILE=Z:${demo_service_state}/origin")

    add_test(NAME DemoServiceFixture.Start
             COMMAND bash "${CMAKE_CURRENT_LIST_DIR}/demo-service/start-demo-service.sh"
                     "${VAMRHELPER_NATIVE_DEMO_SERVICE}" "${demo_service_state}")
    add_test(NAME DemoServiceFixture.Stop
             COMMAND bash "${CMAKE_CURRENT_LIST_DIR}/demo-service/stop-demo-service.sh" "${demo_service_state}")
    set_tests_properties(DemoServiceFixture.Start PROPERTIES FIXTURES_SETUP demo_service TIMEOUT 60)
    set_tests_properties(DemoServiceFixture.Stop PROPERTIES FIXTURES_CLEANUP demo_service TIMEOUT 60)
endif()

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

# The user's journey through the shipped executable under Wine: sign-in with
# the terms, the products page on screenshots, installs, a link handed over
# by a second process, a restart with the saved token, an uninstall and a
# wipe. It runs against the natively built demo service; the native sandbox
# tool built beside it pre-installs the plugins (scripts/test-windows builds
# both). Alone, like the smoke test: it types and clicks, and waits are
# bounded.
if(VAMRHELPER_NATIVE_DEMO_SERVICE)
    get_filename_component(native_build "${VAMRHELPER_NATIVE_DEMO_SERVICE}" DIRECTORY)
    add_test(NAME AppEndToEnd.UserJourney
             COMMAND bash "${PROJECT_SOURCE_DIR}/tests/e2e/windows/app-end-to-end.sh"
                     "${CMAKE_BINARY_DIR}" "${native_build}" "${CMAKE_CURRENT_BINARY_DIR}/e2e")
    set_tests_properties(AppEndToEnd.UserJourney PROPERTIES
        SKIP_RETURN_CODE 77
        TIMEOUT 300
        RUN_SERIAL TRUE
        LABELS e2e)
endif()
