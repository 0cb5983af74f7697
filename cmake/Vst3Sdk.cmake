# The VST 3 SDK sources shipped by Debian's juce-modules-source-data, compiled into a static
# library. Nothing of the SDK is copied into this repository.
set(VST3_SDK_DIR "/usr/share/juce/modules/juce_audio_processors/format_types/VST3_SDK"
    CACHE PATH "VST 3 SDK root (base, pluginterfaces, public.sdk)")
if(NOT EXISTS "${VST3_SDK_DIR}/pluginterfaces/base/funknown.h")
  message(FATAL_ERROR "VST 3 SDK not found at ${VST3_SDK_DIR}: run scripts/bootstrap")
endif()

file(GLOB VST3_SDK_SOURCES
  "${VST3_SDK_DIR}/base/source/*.cpp"
  "${VST3_SDK_DIR}/base/thread/source/*.cpp"
  "${VST3_SDK_DIR}/pluginterfaces/base/*.cpp"
  "${VST3_SDK_DIR}/public.sdk/source/vst/*.cpp"
  "${VST3_SDK_DIR}/public.sdk/source/common/*.cpp")
add_library(vst3sdk STATIC ${VST3_SDK_SOURCES})
target_include_directories(vst3sdk SYSTEM PUBLIC "${VST3_SDK_DIR}")
target_compile_definitions(vst3sdk PUBLIC RELEASE=1)
target_compile_options(vst3sdk PRIVATE -w)
find_package(Threads REQUIRED)
target_link_libraries(vst3sdk PUBLIC Threads::Threads)

# The SDK's host-side helper classes (host application, message, attribute list), for the
# test host and the renderer.
file(GLOB VST3_HOSTING_SOURCES "${VST3_SDK_DIR}/public.sdk/source/vst/hosting/*.cpp")
add_library(vst3hosting STATIC ${VST3_HOSTING_SOURCES})
target_link_libraries(vst3hosting PUBLIC vst3sdk)
target_compile_options(vst3hosting PRIVATE -w)
