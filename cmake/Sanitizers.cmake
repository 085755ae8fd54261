# Sanitizer and fuzzing builds.
#
#   ZY_SANITIZE=address,undefined   instruments every target of the build, the
#                                   SDK and the toolkit included, so that no
#                                   uninstrumented copy of their code runs.
#                                   Any report ends the program.
#   ZY_BUILD_FUZZERS=ON             adds the libFuzzer targets (tests/fuzz) and
#                                   coverage instrumentation everywhere; needs
#                                   clang and ZY_SANITIZE.

set(ZY_SANITIZE "" CACHE STRING "Sanitizers for every target, such as address,undefined")
option(ZY_BUILD_FUZZERS "Build the libFuzzer targets (clang with ZY_SANITIZE)" OFF)

if(ZY_BUILD_FUZZERS)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "[zy] ZY_BUILD_FUZZERS needs clang (CXX=clang++-14)")
    endif()
    if(NOT ZY_SANITIZE)
        message(FATAL_ERROR "[zy] ZY_BUILD_FUZZERS needs ZY_SANITIZE, such as address,undefined")
    endif()
endif()

if(ZY_SANITIZE)
    add_compile_options(-fsanitize=${ZY_SANITIZE} -fno-sanitize-recover=all
                        -fno-omit-frame-pointer -g -O1)
    add_link_options(-fsanitize=${ZY_SANITIZE} -fno-sanitize-recover=all)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        # Checks switched off for named third-party code only; each entry
        # says why.
        add_compile_options(-fsanitize-ignorelist=${CMAKE_CURRENT_LIST_DIR}/sanitizer-ignorelist.txt)
    endif()
    # A shared object leaves the sanitizer runtime to the executable that
    # loads it, so the module is linked with its runtime symbols unresolved.
    set(CMAKE_MODULE_LINKER_FLAGS "" CACHE STRING "Module Library Linker Flags")
    set(CMAKE_SHARED_LINKER_FLAGS "" CACHE STRING "Shared Library Linker Flags")
    # Reports name the bundle's functions only when its symbols are kept: the
    # SDK strips a Release bundle with CMAKE_STRIP, which becomes a no-op.
    set(CMAKE_STRIP "${CMAKE_COMMAND}" -E true)
endif()

if(ZY_BUILD_FUZZERS)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
