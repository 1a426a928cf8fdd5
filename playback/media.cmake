# SPDX-License-Identifier: GPL-3.0-or-later
# korvel_media_core: what the engine adapter decides and how it hands work between threads,
# on QtCore alone (its tests link nothing else). korvel_media: the MediaControl interface and
# its libmpv adapter with the picture views.
add_library(korvel_media_core STATIC ClipTracker.cpp QueuedWakeup.cpp)
target_include_directories(korvel_media_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(korvel_media_core PUBLIC korvel_base Qt6::Core)
korvel_warnings(korvel_media_core)

find_package(Qt6 6.4 REQUIRED COMPONENTS OpenGL OpenGLWidgets)
find_package(PkgConfig REQUIRED)
pkg_check_modules(MPV REQUIRED IMPORTED_TARGET mpv)

add_library(korvel_media STATIC
    MediaControl.h
    EngineLog.cpp
    MediaLocation.cpp
    MpvLibrary.cpp
    MpvMediaControl.cpp
    PictureView.cpp
    PictureControls.cpp
    SwFrameRenderer.cpp
    SwPictureView.cpp
    GlPictureView.cpp)
target_include_directories(korvel_media PUBLIC ${PROJECT_SOURCE_DIR})
# The engine's library is opened when the first engine is made (MpvLibrary), by the name its
# programs are linked against: only its header is used here.
string(REGEX MATCH "^[0-9]+" mpv_abi "${MPV_VERSION}")
target_compile_definitions(korvel_media PRIVATE KORVEL_MPV_LIBRARY="libmpv.so.${mpv_abi}")
target_include_directories(korvel_media PRIVATE ${MPV_INCLUDE_DIRS})
target_link_libraries(korvel_media
    PUBLIC korvel_media_core korvel_base Qt6::Widgets
    PRIVATE korvel_ui Qt6::OpenGL Qt6::OpenGLWidgets ${CMAKE_DL_LIBS})
korvel_warnings(korvel_media)
