# Tests of the media engine against real libmpv. The clips they play are made with ffmpeg by
# tests/media/make-clips.sh, which the test binary runs once before its first test (a test
# environment), because tests found at test time cannot be tied to a CTest fixture here.
korvel_test_binary(media_tests media korvel_media Qt6::Network)

# The OpenGL picture needs a real display, which the test binary (offscreen) does not use: a
# helper run by the media tests when a display exists.
find_package(Qt6 6.4 REQUIRED COMPONENTS OpenGLWidgets)
add_executable(gl_picture_check media/gl/GlPictureCheck.cpp)
target_link_libraries(gl_picture_check PRIVATE korvel_media Qt6::OpenGLWidgets Qt6::Test)
korvel_warnings(gl_picture_check)
add_dependencies(media_tests gl_picture_check)
