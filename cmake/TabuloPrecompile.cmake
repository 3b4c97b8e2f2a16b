# Compile-time settings shared by every target: unity batches, precompiled
# headers and the linker. Most of a file's compile time here is spent
# parsing Qt's and the standard library's headers (about 1.3 s of the 2 s
# of a Qt-heavy file), so each library parses them as few times as it can.
# Figures: docs/PERFORMANCE.md, "Build time".
#
# The header lists name only system headers, in angle brackets: the
# generated prefix header then holds no path of the checkout, and ccache
# finds the same entries from a fresh clone in another folder. Headers of
# the layers themselves stay out, so that a file still includes what it
# uses from another layer (tests/layering reads those lines); components/
# and controls/ get no precompiled Qt header at all.
option(TABULO_PRECOMPILE "Precompile the common system headers of each library" ON)
option(TABULO_UNITY "Compile each library's sources in batches (unity build)" ON)
option(TABULO_MOLD "Link with mold when it is installed" ON)

set(TABULO_PRECOMPILE_STD
    <algorithm> <array> <cstdint> <cstring> <functional> <memory> <optional> <string>
    <string_view> <utility> <vector>)
# What the Qt Gui libraries include most (the chart-pack library, and the
# widget layer's pictures).
set(TABULO_PRECOMPILE_QTGUI
    ${TABULO_PRECOMPILE_STD}
    <QtCore/QObject> <QtCore/QString> <QtCore/QStringList> <QtCore/QFile> <QtCore/QDir>
    <QtGui/QColor> <QtGui/QImage> <QtGui/QPainter> <QtGui/QFont>)
set(TABULO_PRECOMPILE_QTWIDGETS
    ${TABULO_PRECOMPILE_QTGUI}
    <QtCore/QTimer> <QtCore/QPointer> <QtGui/QGuiApplication> <QtGui/QScreen> <QtGui/QIcon>
    <QtWidgets/QApplication> <QtWidgets/QWidget>)
# The Qt test files: each is its own executable, so they share one
# precompiled header (tests/CMakeLists.txt). <QtTest/QTest> stays out: it
# reads QT_TESTCASE_BUILDDIR, which Qt defines differently in each test folder.
set(TABULO_PRECOMPILE_QTTEST
    ${TABULO_PRECOMPILE_QTWIDGETS}
    <gtest/gtest.h> <QtCore/QTemporaryDir> <QtGui/QMouseEvent>)

# Batch size of the unity build: large enough to share the parsing, small
# enough that a layer still makes two batches for two cores.
set(TABULO_UNITY_BATCH_SIZE 8)
# Making a precompiled header costs about as much as compiling 5 files of
# the widget layer (6 s for the Qt list, debug information included) and
# saves about 1.2 s a file, so it pays only for a target that still
# compiles this many units after batching.
set(TABULO_PRECOMPILE_MIN_UNITS 8)

# tabulo_compile_faster(<target> [PRECOMPILE <headers...>] [NO_UNITY])
# Compiles a library's sources in unity batches, unless NO_UNITY (a folder
# whose files share file-local names, or that changes so often that a
# batch of 8 would be rebuilt at every edit); a target that compiles file
# by file gets the precompiled headers instead, the standard library list
# when PRECOMPILE is not given.
function(tabulo_compile_faster target)
  cmake_parse_arguments(F "NO_UNITY" "" "PRECOMPILE" ${ARGN})
  if(NOT F_PRECOMPILE)
    set(F_PRECOMPILE ${TABULO_PRECOMPILE_STD})
  endif()
  get_target_property(sources ${target} SOURCES)
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  list(LENGTH sources units)
  if(TABULO_UNITY AND NOT F_NO_UNITY)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON
                                               UNITY_BUILD_BATCH_SIZE ${TABULO_UNITY_BATCH_SIZE})
    math(EXPR units "(${units} + ${TABULO_UNITY_BATCH_SIZE} - 1) / ${TABULO_UNITY_BATCH_SIZE}")
  endif()
  if(TABULO_PRECOMPILE AND units GREATER_EQUAL TABULO_PRECOMPILE_MIN_UNITS)
    target_precompile_headers(${target} PRIVATE ${F_PRECOMPILE})
  endif()
endfunction()

# mold links the viewer in a fraction of the default linker's time; g++
# takes -fuse-ld=mold from version 12.1 on, clang from 12.
if(TABULO_MOLD)
  find_program(TABULO_MOLD_PROGRAM mold)
  if(TABULO_MOLD_PROGRAM
     AND ((CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12.1)
          OR (CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12)))
    add_link_options(-fuse-ld=mold)
  endif()
endif()
