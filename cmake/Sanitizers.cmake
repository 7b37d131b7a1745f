# -DTRAVIK_SANITIZE=ON builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer.
option(TRAVIK_SANITIZE "Build with -fsanitize=address,undefined" OFF)

if(TRAVIK_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# -DTRAVIK_FUZZ=ON (with clang) instruments everything for libFuzzer as well.
if(TRAVIK_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# JUCE copies empty memory blocks with memcpy (nullptr, nullptr, 0), which the
# nonnull-attribute check stops at; that is JUCE's own business, not ours.
function(travik_relax_sanitizers_for_juce target)
    if(TRAVIK_SANITIZE OR TRAVIK_FUZZ)
        target_compile_options(${target} PRIVATE -fno-sanitize=nonnull-attribute)
    endif()
endfunction()
