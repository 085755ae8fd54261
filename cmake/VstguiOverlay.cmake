# Builds the VSTGUI source tree that the module is compiled against: a copy of
# the toolkit's tree in the build folder in which the project's own slider
# family and slider view creator stand in place of the toolkit's files.
#
# The toolkit's sources include these headers by relative paths, so the files
# must sit at the same places inside the tree. The project's files are linked
# (not copied) into the tree so that an edit is seen by the next build without
# a new configure; the rest of the toolkit is copied, which CMake repeats at
# every configure for files that changed.
#
# In:  ZY_VSTGUI_UPSTREAM   folder that holds the toolkit's `vstgui/` tree
# Out: ZY_VSTGUI_SOURCE_DIR the overlay folder to hand to the SDK's CMake

set(ZY_OVERLAID_FILES
    vstgui/lib/controls/cslider.h
    vstgui/lib/controls/cslider.cpp
    vstgui/uidescription/viewcreator/sliderviewcreator.h
    vstgui/uidescription/viewcreator/sliderviewcreator.cpp
)

set(ZY_VSTGUI_SOURCE_DIR "${CMAKE_BINARY_DIR}/vstgui-overlay")

set(exclusions)
foreach(rel IN LISTS ZY_OVERLAID_FILES)
    get_filename_component(name "${rel}" NAME)
    list(APPEND exclusions PATTERN "${name}" EXCLUDE)
endforeach()

file(COPY "${ZY_VSTGUI_UPSTREAM}/" DESTINATION "${ZY_VSTGUI_SOURCE_DIR}"
     ${exclusions})

foreach(rel IN LISTS ZY_OVERLAID_FILES)
    set(ours "${CMAKE_SOURCE_DIR}/${rel}")
    set(dest "${ZY_VSTGUI_SOURCE_DIR}/${rel}")
    file(REMOVE "${dest}")
    if(NOT EXISTS "${ours}")
        message(FATAL_ERROR "[zy] missing ${ours}: the module must hold the project's slider files, never the toolkit's")
    endif()
    file(CREATE_LINK "${ours}" "${dest}" SYMBOLIC)
endforeach()

message(STATUS "[zy] VSTGUI overlay: ${ZY_VSTGUI_SOURCE_DIR}")
