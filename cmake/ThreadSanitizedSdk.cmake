# ThreadSanitizer copies of SDK libraries, for a test that runs under that
# sanitizer: every piece of code it runs must be instrumented, the SDK's too.
#
#   zy_add_thread_sanitized_sdk(<name> <SDK library>...)
#
# makes, for each given SDK library, a static library of the same C++ sources
# with the same definitions, compiled with -fsanitize=thread, and an interface
# library <name> that links them all, in the order of the originals' own
# links. The sources are taken from the SDK's targets, so the copies follow an
# SDK upgrade.

function(zy_add_thread_sanitized_sdk name)
    foreach(library IN LISTS ARGN)
        get_target_property(sources ${library} SOURCES)
        get_target_property(folder ${library} SOURCE_DIR)
        set(units)
        foreach(source IN LISTS sources)
            if(source MATCHES "\\.cpp$")
                if(NOT IS_ABSOLUTE "${source}")
                    set(source "${folder}/${source}")
                endif()
                list(APPEND units "${source}")
            endif()
        endforeach()
        add_library(${name}_${library} STATIC EXCLUDE_FROM_ALL ${units})
        target_include_directories(${name}_${library} PRIVATE ${VST3_SDK_ROOT})
        target_compile_definitions(${name}_${library} PRIVATE NDEBUG RELEASE=1
            $<TARGET_PROPERTY:${library},COMPILE_DEFINITIONS>)
        target_compile_options(${name}_${library} PRIVATE -fsanitize=thread -O1 -g)
    endforeach()

    # Each copy links the copies of what its original links.
    foreach(library IN LISTS ARGN)
        get_target_property(links ${library} LINK_LIBRARIES)
        foreach(link IN LISTS links)
            if(link IN_LIST ARGN)
                target_link_libraries(${name}_${library} PUBLIC ${name}_${link})
            endif()
        endforeach()
    endforeach()

    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${VST3_SDK_ROOT})
    target_compile_definitions(${name} INTERFACE NDEBUG RELEASE=1)
    target_link_options(${name} INTERFACE -fsanitize=thread)
    foreach(library IN LISTS ARGN)
        target_link_libraries(${name} INTERFACE ${name}_${library})
    endforeach()
endfunction()
