# The Windows build (cross-compiled with MinGW-w64, see MinGW-w64-x86_64.cmake).
# Included before any target is made, so the Wine emulator reaches them all.

# --- Libraries ----------------------------------------------------------------
# Debian's JUCE leaves its bundled image and zip libraries out: zlib comes
# from libz-mingw-w64-dev, libpng and libjpeg from the prefix that
# scripts/windows-deps cross-builds (given as VAMRHELPER_WINDOWS_DEPS, which
# the toolchain file adds to the search roots).
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)

add_library(vamrhelper_windows_libraries INTERFACE)
target_link_libraries(vamrhelper_windows_libraries INTERFACE
    PNG::PNG JPEG::JPEG ZLIB::ZLIB
    # JUCE's Windows code names these in `#pragma comment (lib, ...)`, which
    # MinGW ignores; its module headers list only some of them.
    d2d1 dwrite dxgi dbghelp comctl32 version wininet ws2_32 shlwapi winmm imm32
    comdlg32 ole32 oleaut32 rpcrt4 uuid
    # Our own platform code: access lists, the registry and the shell.
    advapi32 shell32 user32 gdi32)

# --- Running Windows programs ---------------------------------------------------
# Every Windows program of this tree runs under Wine in one throw-away prefix
# inside the tree. Creating a prefix takes a while, so it is kept between runs.
find_program(VAMRHELPER_WINE wine REQUIRED)
set(VAMRHELPER_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH
    "Wine prefix in which the Windows tests and the app run")
configure_file("${CMAKE_CURRENT_LIST_DIR}/windows/wine-run.in" "${CMAKE_BINARY_DIR}/wine-run"
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                      WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_BINARY_DIR}/wine-run")

# --- The application's resources ------------------------------------------------
# The version resource and the manifest that asks for administrator rights:
# the app writes below Program Files and ProgramData.
function(vamrhelper_add_windows_app_resources target)
    set(VAMRHELPER_MANIFEST "${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest")
    set(VAMRHELPER_RC_VERSION "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
    set(VAMRHELPER_MANIFEST_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
    configure_file("${CMAKE_CURRENT_FUNCTION_LIST_DIR}/windows/app.manifest.in" "${VAMRHELPER_MANIFEST}" @ONLY)
    get_target_property(output_name ${target} OUTPUT_NAME)
    set(VAMRHELPER_ORIGINAL_FILENAME "${output_name}.exe")
    configure_file("${CMAKE_CURRENT_FUNCTION_LIST_DIR}/windows/app.rc.in"
                   "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc" @ONLY)
    target_sources(${target} PRIVATE "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc")
    set_property(SOURCE "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc" APPEND PROPERTY
                 OBJECT_DEPENDS "${VAMRHELPER_MANIFEST}")
endfunction()

# --- GoogleTest -----------------------------------------------------------------
# Debian's libgtest-dev is built for Linux; for Windows it is compiled from
# the sources that Debian ships beside it.
function(vamrhelper_add_windows_gtest)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
endfunction()
