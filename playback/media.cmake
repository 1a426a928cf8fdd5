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
    MediaLocation.cpp
    MpvMediaControl.cpp
    PictureView.cpp
    PictureControls.cpp
    SwPictureView.cpp
    GlPictureView.cpp)
target_include_directories(korvel_media PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(korvel_media
    PUBLIC korvel_media_core korvel_base Qt6::Widgets
    PRIVATE Qt6::OpenGL Qt6::OpenGLWidgets PkgConfig::MPV)
korvel_warnings(korvel_media)
