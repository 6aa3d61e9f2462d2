# The fonts and images compiled into the application (JUCE's BinaryData).
# Code looks them up by their file names (see src/ui/look/AppResources.h).

set(VAMRHELPER_RESOURCE_FILES
    resources/fonts/Inter-Regular.ttf
    resources/fonts/Inter-SemiBold.ttf
    resources/fonts/Inter-Light.ttf
    resources/fonts/Inter-Bold.otf
    resources/images/settings_icon.png
    resources/images/logo_vamrel_dark@2x.png
    resources/images/logo_vamrel@2x.png
    resources/images/U-left_corner.png
    resources/images/upper_frame_edge.png
    resources/images/U-right_corner.png
    resources/images/left_frame_edge.png
    resources/images/B-left_corner.png
    resources/images/bottom_frame_edge.png
    resources/images/B-right_corner_filled.png
    resources/images/right_frame_edge.png
    resources/images/bg_ui_standard@2x.png
    resources/images/bg_ui_active@2x.png
    resources/images/markering_ram@x2.png
    resources/images/progressBarPattern.png
    resources/images/banner.png
    resources/images/down_arrow_standard.png
    resources/images/btn_reload@x2.png)

# Adds the resource library and links it into `target`.
function(vamrhelper_add_resources target)
    set(files)
    foreach(file IN LISTS VAMRHELPER_RESOURCE_FILES)
        list(APPEND files "${CMAKE_CURRENT_SOURCE_DIR}/${file}")
    endforeach()

    juce_add_binary_data(vamrhelper_resources SOURCES ${files})
    set_target_properties(vamrhelper_resources PROPERTIES POSITION_INDEPENDENT_CODE ON)

    # JUCE's rule only watches its list of names; rebuild when a file changes too.
    add_custom_command(
        OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/juce_binarydata_vamrhelper_resources/JuceLibraryCode/BinaryData1.cpp"
        APPEND DEPENDS ${files})

    target_link_libraries(${target} PUBLIC vamrhelper_resources)
endfunction()
