# Warnings for our own targets: JUCE's recommended set, treated as errors when
# TRAVIK_WERROR is on (the test command turns it on).
option(TRAVIK_WERROR "Treat warnings in our own code as errors" OFF)

add_library(travik_warnings INTERFACE)
target_link_libraries(travik_warnings INTERFACE juce::juce_recommended_warning_flags)
if(TRAVIK_WERROR)
    target_compile_options(travik_warnings INTERFACE -Werror)
endif()
