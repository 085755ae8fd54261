# Adds the VST 3 SDK (base, pluginterfaces, public.sdk), VSTGUI and the SDK's
# validator and module-info tool to the build, with the SDK's own CMake modules.
#
# The SDK's root CMakeLists hard-codes VSTGUI under its own root and builds its
# examples, so this file assembles the same libraries itself and hands VSTGUI's
# CMake the overlay tree of cmake/VstguiOverlay.cmake.

set(SDK_ROOT "${VST3_SDK_ROOT}")
set(public_sdk_SOURCE_DIR "${SDK_ROOT}/public.sdk")
set(pluginterfaces_SOURCE_DIR "${SDK_ROOT}/pluginterfaces")

# The SDK's macro switches VSTGUI's standalone library on; the module needs
# only the plug-in parts of the toolkit.
macro(smtg_add_vstgui_subdirectory vstgui_SOURCE_DIR)
    set(VSTGUI_DISABLE_UNITTESTS 1)
    set(VSTGUI_STANDALONE OFF)
    set(VSTGUI_STANDALONE_EXAMPLES OFF)
    set(VSTGUI_TOOLS OFF)
    add_subdirectory(${vstgui_SOURCE_DIR} ${CMAKE_BINARY_DIR}/VSTGUI.build)
endmacro()

smtg_setup_platform_toolset()
smtg_setup_symbol_visibility()

smtg_enable_vstgui_support(VSTGUI_SOURCE_DIR "${ZY_VSTGUI_SOURCE_DIR}")

include_directories(${SDK_ROOT})

set(VST_SDK TRUE)
add_subdirectory(${SDK_ROOT}/pluginterfaces ${CMAKE_BINARY_DIR}/sdk/pluginterfaces)
add_subdirectory(${SDK_ROOT}/base ${CMAKE_BINARY_DIR}/sdk/base)
add_subdirectory(${SDK_ROOT}/public.sdk ${CMAKE_BINARY_DIR}/sdk/public.sdk)
add_subdirectory(${SDK_ROOT}/public.sdk/samples/vst-hosting/validator
                 ${CMAKE_BINARY_DIR}/sdk/validator)
add_subdirectory(${SDK_ROOT}/public.sdk/samples/vst-utilities/moduleinfotool
                 ${CMAKE_BINARY_DIR}/sdk/moduleinfotool)
