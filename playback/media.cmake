# korvel_media: the MediaControl interface and its libmpv adapter with the picture views.
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
    PUBLIC korvel_base Qt6::Widgets
    PRIVATE Qt6::OpenGL Qt6::OpenGLWidgets PkgConfig::MPV)
korvel_warnings(korvel_media)
