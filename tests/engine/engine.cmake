# SPDX-License-Identifier: GPL-3.0-or-later
# Tests of the media engine against real libmpv. The clips they play are made with ffmpeg by
# tests/engine/make-clips.sh, which the test binary runs once before its first test (a test
# environment), because tests found at test time cannot be tied to a CTest fixture here.
korvel_test_binary(media_tests "engine;engine/picture" korvel_engine korvel_ui korvel_resources
    Qt6::Network)

# The pictures drawn into a window of their own (OpenGL, and software shared with the X server)
# need a real display, which the test binary (offscreen) does not use: a helper run by the
# media tests when a display exists.
add_executable(window_picture_check engine/picture/window/WindowPictureCheck.cpp)
target_link_libraries(window_picture_check PRIVATE korvel_engine Qt6::Test)
korvel_warnings(window_picture_check)
add_dependencies(media_tests window_picture_check)

# What only a real window system shows (full screen under a window manager), in a binary of
# its own on the xcb platform. It takes the focus, so it runs alone; without an X display
# with a window manager it ends with 77 (skipped). See engine/picture/x11/X11TestMain.cpp. No
# thread of ours is in it beyond media_tests' own: the race detector's build leaves it out.
if(NOT KORVEL_THREAD_SUITE)
    add_executable(media_x11_tests engine/picture/x11/X11TestMain.cpp
        engine/picture/x11/X11Support.cpp engine/picture/x11/FullScreenTest.cpp
        engine/picture/x11/WindowTargetTest.cpp
        engine/MediaTestSupport.cpp)
    target_link_libraries(media_x11_tests PRIVATE korvel_engine GTest::gtest Qt6::Test)
    korvel_test_precompiled(media_x11_tests)
    add_dependencies(media_tests media_x11_tests)
    add_test(NAME media.x11 COMMAND media_x11_tests)
    # The OpenGL driver keeps allocations of its own to the end.
    set_tests_properties(media.x11 PROPERTIES LABELS engine SKIP_RETURN_CODE 77 RUN_SERIAL TRUE
        TIMEOUT 120 ENVIRONMENT ASAN_OPTIONS=detect_leaks=0)
endif()
