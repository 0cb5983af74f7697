# korvessa_platform: the one header that holds what differs by platform (exports, the
# processor's floating-point control). Header only, no plug-in-format dependency.
add_library(korvessa_platform INTERFACE)
target_include_directories(korvessa_platform INTERFACE "${CMAKE_SOURCE_DIR}/hostbinding/platform")

# Windows headers and the C library: M_PI and friends under strict C++17, no min/max macros.
if(WIN32)
  add_compile_definitions(_USE_MATH_DEFINES NOMINMAX)
endif()
