# Helpers shared by the app, the tests and the benchmarks.

# Compiles the given JUCE modules into `target` once, and hands their include
# folders and definitions on to everything that links `target`, without
# compiling the module sources again there.
function(vamrhelper_link_juce target)
    target_link_libraries(${target} PRIVATE ${ARGN})
    target_link_libraries(${target} PUBLIC juce::juce_recommended_config_flags)
    target_compile_definitions(${target} INTERFACE
        $<TARGET_PROPERTY:${target},COMPILE_DEFINITIONS>)
    target_include_directories(${target} INTERFACE
        $<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>)

    # JUCE's own code is not ours to fix: its headers count as system headers
    # and its module sources build without warnings.
    target_include_directories(${target} SYSTEM PUBLIC "${JUCE_MODULES_DIR}")

    # The JUCE module sources compiled here include the image libraries.
    if(WIN32)
        target_include_directories(${target} SYSTEM PRIVATE
            ${PNG_INCLUDE_DIRS} ${JPEG_INCLUDE_DIRS} ${ZLIB_INCLUDE_DIRS})
    endif()
    foreach(module IN LISTS ARGN)
        string(REPLACE "juce::" "" module_name "${module}")
        set_source_files_properties("${JUCE_MODULES_DIR}/${module_name}/${module_name}.cpp"
            TARGET_DIRECTORY ${target} PROPERTIES COMPILE_OPTIONS "-w")
    endforeach()
endfunction()

# Executables that link the core library also need the system libraries
# that JUCE's modules pull in (on Windows: the image libraries, zlib and the
# Windows system libraries, see VamrHelperWindows.cmake).
function(vamrhelper_link_platform_libraries target)
    if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
        target_link_libraries(${target} PRIVATE
            juce::pkgconfig_JUCE_IMG_LINUX_DEPS
            juce::pkgconfig_JUCE_CURL_LINUX_DEPS)
    elseif(WIN32)
        target_link_libraries(${target} PRIVATE vamrhelper_windows_libraries)
    endif()
endfunction()

# Our own code builds with the usual warnings on both systems.
function(vamrhelper_enable_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wno-unused-parameter)
endfunction()
