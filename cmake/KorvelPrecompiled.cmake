# SPDX-License-Identifier: GPL-3.0-or-later
# Precompiled headers: Qt and GoogleTest are parsed once, not in every source that includes
# them. A fresh build spends most of its time in those headers.

# The headers nearly every test source reads, QtPrinters.h last (it was force-included into
# every test source before; the precompiled header now brings it). Not QtTest: its headers
# look at the Qt modules a program links (QT_NETWORK_LIB), which differ between the test
# programs, and GCC refuses a precompiled header made with other such macros
# (-Winvalid-pch, an error here).
set(korvel_test_headers <gtest/gtest.h> <QApplication> <QDir> <QFile> <QImage> <QProcess>
    <QString> <QStringList> <QTemporaryDir> <QWidget> <functional> <memory> <string> <vector>
    ${PROJECT_SOURCE_DIR}/tests/support/QtPrinters.h)

# The target whose precompiled header every test program reuses: built with the flags the test
# programs share (GCC takes a precompiled header only where the flags that shape it match,
# and quietly reads the headers as text where they do not).
function(korvel_test_header_owner name)
    add_library(${name} OBJECT ${PROJECT_SOURCE_DIR}/tests/support/PrecompiledHeaders.cpp)
    target_link_libraries(${name} PRIVATE GTest::gtest Qt6::Widgets Qt6::Test)
    korvel_test_flags(${name})
    target_precompile_headers(${name} PRIVATE ${korvel_test_headers})
endfunction()

# The flags of every test program, the precompiled header's owner included. In the optimised
# build the tests' own code is optimised less and keeps line tables only (what a failure's
# backtrace needs): a third less compile time, and the program's code they test is built as
# it ships.
function(korvel_test_flags target)
    target_compile_definitions(${target} PRIVATE
        KORVEL_BINARY_DIR="${PROJECT_BINARY_DIR}"
        KORVEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    target_compile_options(${target} PRIVATE "$<$<CONFIG:RelWithDebInfo>:-O1;-g1>")
    korvel_warnings(${target})
    # Batched, a test source is included into another file, and GCC then takes a fixture in an
    # anonymous namespace for a header's type that could clash across programs; it cannot.
    target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
endfunction()

# A test program: the shared flags, and the owner's precompiled header.
function(korvel_test_precompiled target)
    korvel_test_flags(${target})
    target_precompile_headers(${target} REUSE_FROM korvel_test_headers)
endfunction()
