# tabulo_add_layer(<name> [PARTS <subfolders...>] DEPS <libs...>
#                  [PRECOMPILE <system headers...>])
# One static library per folder: every .cpp of the folder, public headers
# under <folder>/tabulo/<name>/. A layer grouped into PARTS has the same
# shape in each subfolder instead (<folder>/<part>/*.cpp and
# <folder>/<part>/tabulo/<name>/*.h), so callers include its headers as
# "tabulo/<name>/x.h" whichever part holds them. Qt's moc runs for headers
# that need it. PRECOMPILE names the headers parsed once for the whole
# library (standard library ones when left out; see TabuloPrecompile.cmake).
function(tabulo_add_layer name)
  cmake_parse_arguments(L "NO_UNITY" "" "PARTS;DEPS;PRECOMPILE" ${ARGN})
  set(roots ${CMAKE_CURRENT_SOURCE_DIR})
  if(L_PARTS)
    list(TRANSFORM L_PARTS PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE roots)
  endif()
  set(sources)
  set(headers)
  foreach(root IN LISTS roots)
    file(GLOB part_sources CONFIGURE_DEPENDS ${root}/*.cpp)
    file(GLOB part_headers CONFIGURE_DEPENDS ${root}/tabulo/${name}/*.h ${root}/*.h)
    list(APPEND sources ${part_sources})
    list(APPEND headers ${part_headers})
  endforeach()
  if(NOT sources)
    return()
  endif()
  # A layer whose lower layers are not there yet is left out.
  foreach(dep IN LISTS L_DEPS)
    if(dep MATCHES "^tabulo::" AND NOT TARGET ${dep})
      message(STATUS "tabulo_${name} skipped: ${dep} is missing")
      return()
    endif()
  endforeach()
  add_library(tabulo_${name} STATIC ${sources} ${headers})
  add_library(tabulo::${name} ALIAS tabulo_${name})
  target_include_directories(tabulo_${name} PUBLIC ${roots})
  target_link_libraries(tabulo_${name} PUBLIC ${L_DEPS} PRIVATE tabulo::warnings)
  set(no_unity)
  if(L_NO_UNITY)
    set(no_unity NO_UNITY)
  endif()
  tabulo_compile_faster(tabulo_${name} PRECOMPILE ${L_PRECOMPILE} ${no_unity})
endfunction()

# tabulo_add_tests(LIBS <libs...> [QT])
# Every <family>_test.cpp in the folder becomes the test executable
# test_<layer>_<family>.
function(tabulo_add_tests)
  cmake_parse_arguments(A "QT" "" "LIBS" ${ARGN})
  get_filename_component(layer ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support/*.cpp)
  set(qt)
  if(A_QT)
    set(qt QT)
  endif()
  foreach(lib IN LISTS A_LIBS)
    if(NOT TARGET ${lib})
      return()
    endif()
  endforeach()
  # The folder's helpers are compiled once, not once per test executable.
  set(support)
  if(helpers)
    set(support tabulo_test_${layer}_support)
    add_library(${support} STATIC ${helpers})
    target_link_libraries(${support} PUBLIC ${A_LIBS} tabulo_test_support GTest::gtest GTest::gmock
                          PRIVATE tabulo::warnings)
    if(A_QT)
      target_link_libraries(${support} PUBLIC Qt6::Test)
    endif()
  endif()
  foreach(t IN LISTS tests)
    get_filename_component(family ${t} NAME_WE)
    string(REGEX REPLACE "_test$" "" family ${family})
    tabulo_add_test(NAME test_${layer}_${family} SOURCES ${t}
                    LIBS ${support} ${A_LIBS} tabulo_test_support ${qt})
  endforeach()
endfunction()
