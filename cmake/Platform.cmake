# korvessa_platform: the one header that holds what differs by platform (exports, the
# processor's floating-point control). Header only, no plug-in-format dependency.
add_library(korvessa_platform INTERFACE)
target_include_directories(korvessa_platform INTERFACE "${CMAKE_SOURCE_DIR}/hostbinding/platform")
