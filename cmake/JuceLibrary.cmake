# The JUCE modules, compiled once into one static library that the application,
# the tests and the tools all link. The modules are linked PRIVATE so their
# sources are built here only; their compile definitions and include paths are
# passed on to every user through the INTERFACE generator expressions below.

find_package(JUCE 7.0.5 CONFIG REQUIRED)

add_library(juce_modules STATIC)

target_link_libraries(juce_modules
    PRIVATE
        juce::juce_core
        juce::juce_events
        juce::juce_data_structures
        juce::juce_graphics
        juce::juce_gui_basics
        juce::juce_audio_basics
        juce::juce_audio_devices
        juce::pkgconfig_JUCE_CURL_LINUX_DEPS
        juce::pkgconfig_JUCE_IMG_LINUX_DEPS
    PUBLIC
        juce::juce_recommended_config_flags)

target_compile_definitions(juce_modules
    PUBLIC
        JUCE_STANDALONE_APPLICATION=1
        JUCE_WEB_BROWSER=0
        JUCE_USE_CURL=1
        JUCE_MODAL_LOOPS_PERMITTED=1
        JUCE_STRICT_REFCOUNTEDPOINTER=1
        JUCE_DISPLAY_SPLASH_SCREEN=0
        JUCE_REPORT_APP_USAGE=0
        JUCE_USE_XCURSOR=0
        JUCE_JACK=0
        JUCE_SILENCE_XCODE_15_LINKER_WARNING=1
    INTERFACE
        $<TARGET_PROPERTY:juce_modules,COMPILE_DEFINITIONS>)

target_include_directories(juce_modules
    INTERFACE
        $<TARGET_PROPERTY:juce_modules,INCLUDE_DIRECTORIES>)

set_target_properties(juce_modules PROPERTIES
    POSITION_INDEPENDENT_CODE TRUE
    VISIBILITY_INLINES_HIDDEN TRUE
    C_VISIBILITY_PRESET hidden
    CXX_VISIBILITY_PRESET hidden)

# JUCE's own sources are not ours to warn about.
target_compile_options(juce_modules PRIVATE -w)
travik_relax_sanitizers_for_juce(juce_modules)
