# tabulo_reuse_test_precompiled(<target>)
# A Qt test target parses gtest's and Qt's headers from the precompiled
# header made once for all of them (tests/CMakeLists.txt) instead of once
# per test.
function(tabulo_reuse_test_precompiled target)
  if(TARGET tabulo_qt_test_precompiled)
    target_precompile_headers(${target} REUSE_FROM tabulo_qt_test_precompiled)
  endif()
endfunction()

# tabulo_add_test(NAME <name> SOURCES <files...> LIBS <libs...> [QT])
# Builds one GoogleTest executable and registers it with ctest. With QT the
# shared main creates one QApplication on the offscreen platform.
function(tabulo_add_test)
  cmake_parse_arguments(T "QT" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  if(T_QT)
    target_link_libraries(${T_NAME} PRIVATE tabulo_qt_test_main)
    tabulo_reuse_test_precompiled(${T_NAME})
  else()
    target_link_libraries(${T_NAME} PRIVATE tabulo_test_main)
  endif()
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} tabulo::warnings)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1")
endfunction()
